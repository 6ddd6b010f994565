#pragma once

#include "formengine/DocumentHost.h"

namespace qv {

/// Lets the document reach the main window, which is made after the document.
class HostRelay : public DocumentHost {
public:
    void setTarget(DocumentHost* target) { target_ = target; }
    void updateAllViews() override {
        if (target_)
            target_->updateAllViews();
    }
    void beginWaitCursor() override {
        if (target_)
            target_->beginWaitCursor();
    }
    void endWaitCursor() override {
        if (target_)
            target_->endWaitCursor();
    }
    void addToRecentFileList(const std::string& path) override {
        if (target_)
            target_->addToRecentFileList(path);
    }
    std::optional<std::string> askWorksheetSavePath() override {
        return target_ ? target_->askWorksheetSavePath() : std::nullopt;
    }

private:
    DocumentHost* target_ = nullptr;
};

} // namespace qv
