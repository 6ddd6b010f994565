#pragma once

#include <stdexcept>
#include <string>

namespace qv {
class CTextDoc;
}

namespace qv::tools {

/// A file the command refuses; the message goes to stderr and the exit status is 1.
class RefusedFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Applies an answers file: a JSON array of [key, value] pairs, in order. A key is an
/// occurrence number written as a string ("0", "1", ...) or a variable name (then every
/// occurrence of it); a value is UTF-8 text. Each answer goes through the interview bar's
/// store rule.
class AnswersFile {
public:
    /// Throws RefusedFile with a one-line reason when the file cannot be used.
    static void Apply(const std::string& path, CTextDoc& doc);
    /// The same for the file's bytes already read; `path` names the file in messages.
    static void ApplyBytes(const std::string& bytes, const std::string& path, CTextDoc& doc);
};

} // namespace qv::tools
