#include "formengine/Clock.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace qv {

bool CivilDate::parse(const char* text, CivilDate& out) {
    if (!text || std::strlen(text) != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9')
            return false;
    int y = 0, m = 0, d = 0;
    if (std::sscanf(text, "%4d-%2d-%2d", &y, &m, &d) != 3)
        return false;
    std::chrono::year_month_day ymd{std::chrono::year{y}, std::chrono::month{unsigned(m)},
                                    std::chrono::day{unsigned(d)}};
    if (!ymd.ok())
        return false;
    out = {y, m, d};
    return true;
}

CivilDate SystemClock::today() const {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

} // namespace qv
