#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace qv {

/// What a form template holds before its body is turned into runs.
struct TemplateContents {
    bool landscape = false;
    std::vector<std::string> names;
    std::vector<std::string> prompts;
    std::string body; // at most kMaxBody bytes, cut at the first NUL
};

/// Reads the header, the declarations and the body bytes of a form template. Lines are
/// read as the original did: at most 254 characters a read (a longer line comes as
/// several), CR LF taken as LF, and a lone CR at a line's end dropped.
class TemplateReader {
public:
    static constexpr std::size_t kMaxBody = 60000;
    static constexpr std::size_t kMaxLineRead = 254;

    enum class Result { Ok, NotAForm };

    /// NotAForm when line 1 does not start with "Form", or the file ends before its
    /// first declaration or before the separator line.
    static Result read(std::istream& in, TemplateContents& out);
};

} // namespace qv
