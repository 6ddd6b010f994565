#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv {

class CTextDoc;

/// The variable-entry program's way in for a file: its command line and the recent-file
/// list. An argument may carry a display title after a "?" (the catalogue passes the
/// form's title that way).
class DocumentOpener {
public:
    struct Argument {
        std::string path;
        std::optional<std::string> title;
    };

    /// Splits at the first "?": the path before it, the title after it.
    static Argument split(std::string_view argument);

    /// Opens the argument into `doc`. A template gets the path "*" (so that saving asks
    /// for a worksheet name) and the title "New - " + display title, or "Template:" + its
    /// file's title; a worksheet keeps its path and title. False when the load failed
    /// (the loader has said why).
    static bool OpenDocumentFile(CTextDoc& doc, std::string_view argument);
};

} // namespace qv
