#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::test {

/// Builds the bytes of a form template: header, declarations, separator and body, with
/// CR LF line ends as the forms are shipped.
class TemplateBuilder {
public:
    TemplateBuilder& header(std::string line);
    TemplateBuilder& freeLine(std::string line);
    TemplateBuilder& declare(std::string name, std::string prompt = {});
    TemplateBuilder& body(std::string bytes);
    std::string bytes() const;

    /// A template declaring `names` (with prompts "Enter NAME.") whose body is `body`.
    static std::string simple(const std::vector<std::string>& names, std::string body);

private:
    std::string header_ = "Form      Portrait";
    std::vector<std::string> free_;
    std::vector<std::pair<std::string, std::string>> decls_;
    std::string body_;
};

} // namespace qv::test
