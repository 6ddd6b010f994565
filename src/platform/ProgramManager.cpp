#include "platform/ProgramManager.h"

#include "platform/DesktopMenu.h"

namespace qv::platform {

std::optional<ProgramManager::Request> ProgramManager::Parse(const std::string& text) {
    if (text.size() < 4 || text.front() != '[' || text.back() != ']')
        return std::nullopt;
    const std::string inner = text.substr(1, text.size() - 2);
    const auto open = inner.find('(');
    if (open == std::string::npos || open == 0 || inner.back() != ')')
        return std::nullopt;
    Request r{inner.substr(0, open), {}};
    const std::string args = inner.substr(open + 1, inner.size() - open - 2);
    // Two-argument requests split at the last comma: a program path may hold commas, the
    // titles and show codes the suite sends never do.
    if (r.command == "AddItem" || r.command == "ShowGroup") {
        const auto comma = args.rfind(',');
        if (comma == std::string::npos)
            return std::nullopt;
        r.arguments = {args.substr(0, comma), args.substr(comma + 1)};
    } else {
        r.arguments = {args};
    }
    for (const auto& a : r.arguments)
        if (a.empty())
            return std::nullopt;
    return r;
}

void ProgramManager::SendProgramManagerRequests(const std::vector<std::string>& requests) {
    DesktopMenu menu;
    for (const auto& text : requests) {
        const auto r = Parse(text);
        if (!r)
            continue;
        const auto& a = r->arguments;
        if (r->command == "CreateGroup" && a.size() == 1)
            menu.CreateGroup(a[0]);
        else if (r->command == "ShowGroup" && a.size() == 2)
            menu.ShowGroup(a[0]);
        else if (r->command == "AddItem" && a.size() == 2)
            menu.AddItem(a[0], a[1]);
        else if (r->command == "DeleteItem" && a.size() == 1)
            menu.DeleteItem(a[0]);
        else if (r->command == "DeleteGroup" && a.size() == 1)
            menu.DeleteGroup(a[0]);
    }
    menu.Refresh();
}

} // namespace qv::platform
