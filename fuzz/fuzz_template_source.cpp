// Arbitrary bytes as a template source: the compiler refuses with problems or gives a
// template, and every template it gives loads in the form engine with the variables the
// @var lines declare and one occurrence for each |NAME| of the body, in the same order.
#include "FuzzSupport.h"
#include "tools/qvform/TemplateCompiler.h"

#include <cstdlib>
#include <sstream>

namespace {

/// The names the @var lines declare, and those the body refers to, in order: the body is
/// the text after the "@body" line, where "{{" is a brace, "{...}" a token and "|NAME|" a
/// reference.
void namesIn(std::string_view source, std::vector<std::string>& declared, std::vector<std::string>& names) {
    bool body = false;
    std::size_t from = 0;
    while (from < source.size()) {
        std::size_t to = source.find('\n', from);
        if (to == std::string_view::npos)
            to = source.size();
        std::string_view line = source.substr(from, to - from);
        from = to + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!body) {
            body = line == "@body";
            if (line.substr(0, 4) == "@var") {
                line.remove_prefix(4);
                while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
                    line.remove_prefix(1);
                while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
                    line.remove_suffix(1);
                declared.emplace_back(line);
            }
            continue;
        }
        for (std::size_t at = 0; at < line.size();) {
            if (line.substr(at, 2) == "{{") {
                at += 2;
            } else if (line[at] == '{') {
                at = std::min(line.size(), line.find('}', at)) + 1;
            } else if (line[at] == '|') {
                const std::size_t close = line.find('|', at + 1);
                if (close == std::string_view::npos)
                    std::abort(); // the compiler let an open reference through
                names.emplace_back(line.substr(at + 1, close - at - 1));
                at = close + 1;
            } else {
                ++at;
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    const qv::tools::TemplateCompiler::Result compiled = qv::tools::TemplateCompiler::Compile(source);
    if (compiled.bytes.empty() == compiled.problems.empty())
        std::abort(); // a template, or the problems why there is none
    for (const auto& p : compiled.problems)
        if (p.line < 1 || p.column < 1 || p.message.empty())
            std::abort();
    if (compiled.bytes.empty())
        return 0;
    qv::fuzz::FuzzDoc f;
    std::istringstream in(compiled.bytes);
    if (!f.doc.OpenTemplate(in))
        std::abort(); // every compiled template loads
    std::vector<std::string> declared, names;
    namesIn(source, declared, names);
    if (f.state.varNames != declared || names.size() != std::size_t(f.state.occCount))
        std::abort();
    for (int k = 0; k < f.state.occCount; ++k)
        if (f.state.varNames.at(f.state.occVars.at(k)) != names[k])
            std::abort();
    return 0;
}
