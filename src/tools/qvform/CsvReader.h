#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qv::tools {

/// Comma-separated values as RFC 4180 writes them: quoted fields may hold commas, line
/// breaks and doubled quotes; records end with CR LF or LF. Read a record at a time, so
/// that a large file takes no more memory than its largest record.
class CsvReader {
public:
    /// A record holds at most this many fields; the rest of a longer one is passed over.
    static constexpr std::size_t kMaxFields = 1000;

    struct Record {
        int line = 0; // the file line the record starts on
        std::vector<std::string> fields;
        std::string error; // why the record cannot be used, or empty
    };

    explicit CsvReader(std::string_view text);
    /// The next record (blank lines between records are passed over); false at the end.
    bool next(Record& record);

    /// Every record of a (small) text.
    static std::vector<Record> Parse(std::string_view text);

private:
    std::string_view text_;
    std::size_t i_ = 0;
    int line_ = 1;
};

} // namespace qv::tools
