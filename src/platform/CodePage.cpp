#include "platform/CodePage.h"

#include <array>
#include <cstdint>

namespace qv {
namespace {

// Characters of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char toWindows1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

std::string CodePage::toUtf8(std::string_view windows1252) {
    std::string out;
    out.reserve(windows1252.size());
    for (unsigned char b : windows1252)
        appendUtf8(out, (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char32_t(b));
    return out;
}

std::string CodePage::latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes)
        appendUtf8(out, b);
    return out;
}

std::size_t CodePage::decodeUtf8(std::string_view text, std::size_t at, char32_t& c) {
    const auto b = static_cast<unsigned char>(text[at]);
    const std::size_t n = b < 0x80             ? 1
                          : (b & 0xE0) == 0xC0 ? 2
                          : (b & 0xF0) == 0xE0 ? 3
                          : (b & 0xF8) == 0xF0 ? 4
                                               : 0;
    if (n == 0 || at + n > text.size())
        return 0;
    c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t k = 1; k < n; ++k) {
        const auto cont = static_cast<unsigned char>(text[at + k]);
        if ((cont & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (cont & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kMin[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return n;
}

std::string CodePage::fromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t n = decodeUtf8(utf8, i, c);
        if (n == 0) {
            out += '?';
            ++i; // resynchronise on the next byte
            continue;
        }
        out += toWindows1252(c);
        i += n;
    }
    return out;
}

} // namespace qv
