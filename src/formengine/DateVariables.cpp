#include "formengine/DateVariables.h"

#include <cstdio>

namespace qv {
namespace {

constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

std::string format(const char* fmt, int a, int b, int c) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

std::string ordinalDay(int day) {
    // The suffix is read off the two-digit day, as the form texts always did.
    char dd[8];
    std::snprintf(dd, sizeof dd, "%02d", day);
    const char* suffix = "th";
    if (dd[0] != '1') {
        if (dd[1] == '1')
            suffix = "st";
        else if (dd[1] == '2')
            suffix = "nd";
        else if (dd[1] == '3')
            suffix = "rd";
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d%s", day, suffix);
    return buf;
}

} // namespace

bool DateVariables::isDateVariable(std::string_view name) {
    // Date names are four to six letters long; most other names are ruled out by that.
    if (name.size() < 4 || name.size() > 6)
        return false;
    return name == "MONTH" || name == "YEAR" || name == "NDAY" || name == "DATE" || name == "BDATE" ||
           name == "NDATE" || name == "NBDATE";
}

std::optional<std::string> DateVariables::textFor(std::string_view name, const CivilDate& date) {
    if (!isDateVariable(name))
        return std::nullopt;
    const std::string month = (date.month >= 1 && date.month <= 12) ? kMonths[date.month - 1] : "";
    const int yy = ((date.year % 100) + 100) % 100;
    if (name == "MONTH")
        return month;
    if (name == "YEAR")
        return format("%02d", yy, 0, 0);
    if (name == "NDAY")
        return ordinalDay(date.day);
    if (name == "DATE")
        return month + format(" %d, %d", date.day, date.year, 0);
    if (name == "BDATE")
        return format("%d ", date.day, 0, 0) + month + format(" %d", date.year, 0, 0);
    if (name == "NDATE")
        return format("%02d-%02d-%02d", date.month, date.day, yy);
    if (name == "NBDATE")
        return format("%02d-%02d-%02d", date.day, date.month, yy);
    return std::nullopt;
}

} // namespace qv
