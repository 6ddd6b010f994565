#include "platform/ui/HelpLauncher.h"

#include "platform/ui/HelpWindow.h"

#include <QApplication>
#include <QWindow>

namespace qv::platform {

HelpLauncher::HelpLauncher(QWidget* owner, QString helpFile, std::function<void(const std::string&)> report)
    : owner_(owner), file_(std::move(helpFile)), report_(std::move(report)) {}

HelpLauncher::~HelpLauncher() = default;

HelpWindow* HelpLauncher::open(bool owned) {
    auto& window = owned ? owned_ : alone_;
    if (!window) {
        auto file = HelpFile::Open(file_);
        if (!file) {
            report_("The help file " + file_.toStdString() + " could not be opened.");
            return nullptr;
        }
        window = std::make_unique<HelpWindow>(std::move(file), owned ? owner_ : nullptr);
    }
    keepUsable(*window, owned);
    return window.get();
}

void HelpLauncher::keepUsable(HelpWindow& help, bool owned) {
    // Help asked for from a modal dialog must take input while the dialog is up: the
    // window hangs from the dialog instead of being blocked by it, and goes back to its
    // owner when the dialog goes.
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal->windowHandle() == nullptr || modal->isAncestorOf(&help) ||
        (help.windowHandle() && help.windowHandle()->transientParent() == modal->windowHandle()))
        return;
    const bool shown = help.isVisible();
    if (shown)
        help.hide(); // blocking is settled when a window is shown
    help.winId();
    help.windowHandle()->setTransientParent(modal->windowHandle());
    QWidget* owner = owned ? owner_ : nullptr;
    QObject::connect(modal->windowHandle(), &QObject::destroyed, &help, [&help, owner] {
        if (help.windowHandle())
            help.windowHandle()->setTransientParent(owner ? owner->windowHandle() : nullptr);
    });
    if (shown)
        help.show();
}

void HelpLauncher::Show(Topic topic) {
    HelpWindow* help = open(topic == Topic::Index);
    if (!help)
        return;
    if (topic == Topic::Index)
        help->showIndex(QString());
    else if (topic == Topic::HowToUseHelp)
        help->showHowToUseHelp();
    else
        help->showContents();
}

void HelpLauncher::ShowContext(int context) {
    if (HelpWindow* help = open(true))
        help->showContext(context);
}

void HelpLauncher::Close() {
    alone_.reset();
    owned_.reset();
}

} // namespace qv::platform
