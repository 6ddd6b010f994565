#pragma once

class QAction;
class QWidget;

namespace qv::platform {

/// Shift+F1: the next control, toolbar button or menu command clicked shows what it does
/// instead of acting, as the desktop's context help does.
class ContextHelp {
public:
    static constexpr int kCommand = 57668;

    /// Adds the key to `window` and gives every command and control of it that has a
    /// status-bar prompt or a tool tip that text as its help. Call once the window is built.
    static QAction* Install(QWidget* window);
};

} // namespace qv::platform
