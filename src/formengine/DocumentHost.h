#pragma once

#include <optional>
#include <string>

namespace qv {

/// What a document asks of the program around it: redrawing views, the wait cursor,
/// the recent-file list and the save dialog. The defaults do nothing, which is what
/// the command-line tool wants.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    virtual void updateAllViews() {}
    virtual void beginWaitCursor() {}
    virtual void endWaitCursor() {}
    virtual void addToRecentFileList(const std::string& /*path*/) {}
    /// Asks for a worksheet name to save under; nothing when the user cancels.
    virtual std::optional<std::string> askWorksheetSavePath() { return std::nullopt; }
};

} // namespace qv
