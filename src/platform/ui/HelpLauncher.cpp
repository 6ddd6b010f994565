#include "platform/ui/HelpLauncher.h"

#include "platform/ui/HelpWindow.h"

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
    return window.get();
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
