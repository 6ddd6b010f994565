// Arbitrary answer texts under the US and a decimal-comma locale: a hint always ends with
// the number the field will hold, and a number written plainly never gets one.
#include "view/NumberHint.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string shortest(double v) {
    if (v == 0)
        return "0";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qv::LocaleFormat us;
    qv::LocaleFormat de;
    de.decimalSeparator = ",";
    de.thousandsSeparator = ".";
    de.currencySymbol = "\x80";
    const std::string counts = "counts as " + shortest(qv::InputFieldNumber(text)) + ".";
    for (const qv::LocaleFormat* locale : {&us, &de})
        if (const auto hint = qv::NumberHint(text, *locale); hint && !endsWith(*hint, counts))
            std::abort();

    // The first eight bytes as a number, written with a point and no grouping.
    if (size >= sizeof(double)) {
        double v;
        std::memcpy(&v, data, sizeof v);
        if (std::isfinite(v) && std::fabs(v) < 1e15) {
            char buf[1200]; // the smallest numbers take over a thousand digits
            const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
            if (r.ec == std::errc() && qv::NumberHint(std::string_view(buf, r.ptr - buf), us))
                std::abort();
        }
    }
    return 0;
}
