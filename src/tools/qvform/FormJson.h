#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace qv {
class CellTable;
class CTextDoc;
} // namespace qv

namespace qv::tools {

/// JSON views of the engine's model. Texts taken from files are written byte for byte,
/// each byte as the character of the same value.
class FormJson {
public:
    static nlohmann::json bytes(const std::string& text);
    static nlohmann::json byteList(const std::vector<std::string>& texts);
    static nlohmann::json cells(const CellTable& table);
    /// The whole model of a loaded document (the output of `qvform inspect`).
    static nlohmann::json inspect(const CTextDoc& doc, bool worksheet);
};

} // namespace qv::tools
