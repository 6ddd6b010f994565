#include "tools/qvform/CsvReader.h"

namespace qv::tools {

CsvReader::CsvReader(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") // a byte-order mark some spreadsheets write
        text_.remove_prefix(3);
}

bool CsvReader::next(Record& r) {
    const std::string_view text = text_;
    std::size_t& i = i_;
    int& line = line_;
    while (i < text.size()) {
        r = Record{};
        r.line = line;
        std::string field;
        bool endOfRecord = false;
        while (!endOfRecord) {
            field.clear();
            if (i < text.size() && text[i] == '"') {
                ++i;
                bool closed = false;
                while (i < text.size()) {
                    const char c = text[i++];
                    if (c == '"') {
                        if (i < text.size() && text[i] == '"') {
                            field += '"';
                            ++i;
                        } else {
                            closed = true;
                            break;
                        }
                    } else {
                        if (c == '\n')
                            ++line;
                        field += c;
                    }
                }
                if (!closed && r.error.empty())
                    r.error = "a quoted field is not closed before the end of the file";
                // Only a separator or the record's end may follow the closing quote.
                if (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n' &&
                    r.error.empty())
                    r.error = "text after the closing quote of a field";
                while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n')
                    ++i;
            } else {
                while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                    if (text[i] == '"' && r.error.empty())
                        r.error = "a quote inside a field that does not start with one";
                    field += text[i++];
                }
            }
            if (r.fields.size() < kMaxFields)
                r.fields.push_back(field);
            else if (r.error.empty())
                r.error = "it has more than " + std::to_string(kMaxFields) + " fields";
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            endOfRecord = true;
            if (i < text.size() && text[i] == '\r')
                ++i;
            if (i < text.size() && text[i] == '\n')
                ++i;
            ++line;
        }
        // Blank lines between records carry nothing.
        if (!(r.fields.size() == 1 && r.fields[0].empty() && r.error.empty()))
            return true;
    }
    return false;
}

std::vector<CsvReader::Record> CsvReader::Parse(std::string_view text) {
    std::vector<Record> records;
    CsvReader reader(text);
    for (Record r; reader.next(r);)
        records.push_back(std::move(r));
    return records;
}

} // namespace qv::tools
