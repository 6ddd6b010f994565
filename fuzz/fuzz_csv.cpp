// Arbitrary bytes as a merge data file: no crash, no hang; records start on lines in
// order, and every record read without a fault, written back with each field quoted,
// reads as the same fields.
#include "tools/qvform/CsvReader.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string quoted(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            out += ',';
        out += '"';
        for (const char c : fields[i])
            out += c == '"' ? std::string("\"\"") : std::string(1, c);
        out += '"';
    }
    return out + "\r\n";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qv::tools::CsvReader reader(text);
    int line = 0;
    std::size_t lineBreaks = 1;
    for (const char c : text)
        lineBreaks += c == '\n' || c == '\r';
    for (qv::tools::CsvReader::Record r; reader.next(r);) {
        if (r.line <= line || std::size_t(r.line) > lineBreaks || r.fields.empty() ||
            r.fields.size() > qv::tools::CsvReader::kMaxFields)
            std::abort();
        line = r.line;
        if (!r.error.empty())
            continue;
        const auto again = qv::tools::CsvReader::Parse(quoted(r.fields));
        if (again.size() != 1 || again[0].fields != r.fields || !again[0].error.empty())
            std::abort();
    }
    return 0;
}
