#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace qv::platform {

class HelpWindow;

/// A program's help: the contents window standing on its own, the index window owned by
/// the program's main window, both over the help file beside the program, opened when
/// first asked for and closed with the program.
class HelpLauncher {
public:
    enum class Topic { Contents, Index, HowToUseHelp };

    /// `report` shows a message when the help file cannot be opened.
    HelpLauncher(QWidget* owner, QString helpFile, std::function<void(const std::string&)> report);
    ~HelpLauncher();

    void Show(Topic topic);
    /// The topic of a context number, in the owned window.
    void ShowContext(int context);
    void Close();
    void setHelpFile(const QString& path) { file_ = path; }

    HelpWindow* window(bool owned) const { return owned ? owned_.get() : alone_.get(); }

private:
    HelpWindow* open(bool owned);
    void keepUsable(HelpWindow& help, bool owned);

    QWidget* owner_;
    QString file_;
    std::function<void(const std::string&)> report_;
    std::unique_ptr<HelpWindow> alone_;
    std::unique_ptr<HelpWindow> owned_;
};

} // namespace qv::platform
