#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <map>

class QAction;
class QMainWindow;

namespace qv {

/// Command ids of the menus, used as the actions' object names ("cmd32782").
enum class FrameCommand : int {
    NewForm = 32787,
    Open = 32781,
    SaveWorksheet = 32782,
    SaveWorksheetAs = 32780,
    PageSetup = 57605,
    PrintPreview = 57608,
    Print = 57607,
    SendMail = 57611,
    Close = 57665,
    Undo = 57643,
    Cut = 57635,
    Copy = 57634,
    Paste = 57637,
    Delete = 57632,
    ViewToolbar = 59392,
    ViewVariableEntry = 32783,
    ViewStatusBar = 59393,
    NumberSettings = 32777,
    CurrencySettings = 32778,
    InternationalSettings = 32788,
    Calculator = 32779,
    VariableSets = 32775,
    PrintFileOptions = 32784,
    HelpContents = 32786,
    HelpIndex = 57666,
    HelpUsing = 57667,
    About = 57664,
    // Additions of this program beyond the original menus.
    ReviewAnswers = 32800,
    Options = 32801,
    ExportPdf = 32810,
};

/// The one place that creates the main window's actions (text, shortcut, status prompt,
/// tool tip), its menus and its toolbar, in the order and with the texts of the program.
class FrameActions {
public:
    using enum FrameCommand;
    static constexpr int kRecentFiles = 4;

    /// `regionalApplet`: the system has the control panel's regional applet, so the Tools
    /// menu offers its submenu instead of the single regional-settings item.
    FrameActions(QMainWindow* window, bool regionalApplet, std::function<void(const QString&)> openRecent);

    QAction* action(FrameCommand id) const;
    const std::map<FrameCommand, QAction*>& all() const { return actions_; }
    const QList<QAction*>& recentFiles() const { return recentActions_; }

private:
    QAction* makeAction(FrameCommand id, const QString& text, const QString& prompt,
                        const QString& toolTip = {});
    void createActions();
    void createMenus(bool regionalApplet);
    void createToolBar();

    QMainWindow* window_;
    std::function<void(const QString&)> openRecent_;
    std::map<FrameCommand, QAction*> actions_;
    QList<QAction*> recentActions_;
    QAction* recentSeparator_ = nullptr;
};

} // namespace qv
