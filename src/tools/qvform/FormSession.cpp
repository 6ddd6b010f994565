#include "tools/qvform/FormSession.h"

#include "platform/ConfigPaths.h"

namespace qv::tools {

FormSession::FormSession(std::optional<CivilDate> today)
    : profile_(platform::ConfigPaths::applicationSettings("QVLegal")) {
    if (today)
        clock_ = std::make_unique<FixedClock>(*today);
    else
        clock_ = std::make_unique<SystemClock>();
    state_.variableSets.LoadVariableSets(profile_);
    doc_ = std::make_unique<CTextDoc>(state_, DocumentServices{messages_, profile_, *clock_, host_});
    doc_->OnNewDocument();
}

bool FormSession::open(const std::string& path) {
    if (!doc_->OnOpenDocument(path))
        return false;
    worksheet_ = CTextDoc::IsWorksheetPath(path);
    return true;
}

} // namespace qv::tools
