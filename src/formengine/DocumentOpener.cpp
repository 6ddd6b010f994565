#include "formengine/DocumentOpener.h"

#include "formengine/CTextDoc.h"
#include "platform/CaseBlindPath.h"

namespace qv {
DocumentOpener::Argument DocumentOpener::split(std::string_view argument) {
    const std::size_t q = argument.find('?');
    if (q == std::string_view::npos)
        return {std::string(argument), std::nullopt};
    return {std::string(argument.substr(0, q)), std::string(argument.substr(q + 1))};
}

bool DocumentOpener::OpenDocumentFile(CTextDoc& doc, std::string_view argument) {
    const Argument arg = split(argument);
    // Names from the catalogue and the desktop were written for a platform that ignored case.
    const std::string path = platform::CaseBlindPath::Resolve(arg.path).string();
    if (!doc.OnOpenDocument(path))
        return false;
    doc.SetPathName(path, true);
    if (!CTextDoc::IsWorksheetPath(doc.GetPathName())) {
        const std::string fileTitle = doc.GetTitle();
        doc.SetPathName("*", false);
        doc.SetTitle(arg.title ? "New - " + *arg.title : "Template:" + fileTitle);
    }
    return true;
}

} // namespace qv
