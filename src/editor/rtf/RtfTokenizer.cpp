#include "editor/rtf/RtfTokenizer.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace qv::editor {

RtfTokenizer::Word RtfTokenizer::ReadWord(const QByteArray& in, qsizetype& pos) {
    const qsizetype n = in.size();
    Word word;
    word.start = pos;
    while (pos < n && std::isalpha(static_cast<unsigned char>(in[pos])))
        ++pos;
    word.length = pos - word.start;
    bool negative = false;
    qint64 value = 0;
    if (pos < n && in[pos] == '-') {
        negative = true;
        ++pos;
    }
    while (pos < n && std::isdigit(static_cast<unsigned char>(in[pos]))) {
        word.hasParam = true;
        if (value < (qint64(1) << 40))
            value = value * 10 + (in[pos] - '0');
        ++pos;
    }
    if (negative && !word.hasParam)
        --pos; // a lone "-" belongs to the text
    if (pos < n && in[pos] == ' ')
        ++pos;
    word.param = static_cast<int>(std::clamp<qint64>(negative ? -value : value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
    return word;
}

int RtfTokenizer::ReadHexByte(const QByteArray& in, qsizetype& pos) {
    // Only hex digits are taken: a brace after \' still opens or closes its group, as it
    // does for everything that counts the groups by their braces.
    int byte = 0, digits = 0;
    for (; digits < 2 && pos < in.size(); ++digits, ++pos) {
        const char c = in[pos];
        const int d = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
        if (d < 0)
            break;
        byte = byte * 16 + d;
    }
    return digits == 2 ? byte : -1;
}

bool RtfTokenizer::Balanced(const QByteArray& rtf) {
    const qsizetype n = rtf.size();
    int depth = 0;
    qsizetype pos = 0;
    while (pos < n) {
        const char c = rtf[pos];
        if (c == '\\') {
            if (pos + 1 >= n)
                return false; // it would take the character written after it
            ++pos;
            if (!std::isalpha(static_cast<unsigned char>(rtf[pos]))) {
                ++pos; // a control symbol: an escaped brace is text
                continue;
            }
            const Word w = ReadWord(rtf, pos);
            if (w.hasParam && w.length == 3 && rtf.mid(w.start, 3) == "bin") {
                if (w.param > n - pos)
                    return false; // its data would run on past these bytes
                pos += std::max(w.param, 0);
            }
            continue;
        }
        if (c == '{')
            ++depth;
        else if (c == '}' && --depth < 0)
            return false;
        ++pos;
    }
    return depth == 0;
}

} // namespace qv::editor
