#include "view/MarginBlockReader.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace qv {
namespace {

constexpr std::size_t kLineRead = 255;

int atoiAfter(std::string_view line, std::size_t skip) {
    if (line.size() <= skip)
        return 0;
    std::string rest(line.substr(skip, 32));
    return std::atoi(rest.c_str());
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
