#include "formengine/TwoDigitField.h"

namespace qv {

int TwoDigitField::Read(std::string_view text, std::size_t at) {
    // The field ends after two characters whatever follows it, as in a two-byte buffer.
    char field[3] = {0, 0, 0};
    for (std::size_t k = 0; k < 2 && at + k < text.size(); ++k)
        field[k] = text[at + k];
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    int i = 0;
    while (i < 2 && blank(field[i]))
        ++i;
    bool negative = false;
    if (field[i] == '-' || field[i] == '+')
        negative = field[i++] == '-';
    int n = 0;
    while (field[i] >= '0' && field[i] <= '9')
        n = n * 10 + (field[i++] - '0');
    return negative ? -n : n;
}

} // namespace qv
