#include "view/MarginBlockReader.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace qv {
namespace {

constexpr std::size_t kLineRead = 255;

// As atoi reads it, a number beyond the range of int held at the nearest end (the C
// library's atoi leaves that undefined).
int atoiAfter(std::string_view line, std::size_t skip) {
    if (line.size() <= skip)
        return 0;
    std::string rest(line.substr(skip, 32));
    const long long n = std::strtoll(rest.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(n, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

PrintFileMargins MarginBlockReader::Read(std::string_view file) {
    PrintFileMargins m;
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    bool collecting = false;
    while (pos < file.size() && (!collecting || lines.size() < 5)) {
        const std::size_t nl = file.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? file.size() : nl + 1;
        if (end - pos > kLineRead)
            end = pos + kLineRead;
        const std::string_view line = file.substr(pos, end - pos);
        pos = end;
        if (!collecting && line.rfind("\\mymargl", 0) == 0)
            collecting = true;
        if (collecting)
            lines.push_back(line);
    }
    if (!collecting)
        return m;
    m.found = true;
    int* fields[] = {&m.left, &m.right, &m.top, &m.bottom};
    for (std::size_t k = 0; k < 4 && k < lines.size(); ++k)
        *fields[k] = atoiAfter(lines[k], 8);
    if (lines.size() > 4)
        m.orientation = atoiAfter(lines[4], 7);
    return m;
}

} // namespace qv
