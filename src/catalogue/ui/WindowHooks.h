#pragma once

#include <QString>
#include <functional>

class QDialog;
class QMenu;

namespace qv::catalogue {

/// What tests put in place of modal windows: each hook, when set, runs instead of the
/// window and leaves its result.
struct WindowHooks {
    std::function<void(QDialog&)> modal;     // instead of exec(): drive the dialog, close it
    std::function<QString()> openFile;       // instead of the open-file dialog: a path or ""
    std::function<void(QMenu&)> contextMenu; // instead of showing a popup menu

    int run(QDialog& dialog) const;
};

} // namespace qv::catalogue
