#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv::tools {

/// Comma-separated values as RFC 4180 writes them: quoted fields may hold commas, line
/// breaks and doubled quotes; records end with CR LF or LF.
class CsvReader {
public:
    struct Record {
        int line = 0; // the file line the record starts on
        std::vector<std::string> fields;
        std::string error; // why the record cannot be used, or empty
    };

    static std::vector<Record> Parse(std::string_view text);
};

} // namespace qv::tools
