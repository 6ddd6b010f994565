#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qv::platform {

/// The program manager's execute requests ("[CreateGroup(G)]", "[ShowGroup(G,1)]",
/// "[AddItem(path,title)]", "[DeleteItem(title)]", "[DeleteGroup(G)]"), carried out
/// on the desktop menu. Unknown or malformed requests are ignored and nothing is
/// reported, as callers never rely on a result.
class ProgramManager {
public:
    struct Request {
        std::string command;
        std::vector<std::string> arguments;
    };

    /// One request text, exactly as written; nothing when it is not one.
    static std::optional<Request> Parse(const std::string& text);

    /// One conversation: the requests in order.
    static void SendProgramManagerRequests(const std::vector<std::string>& requests);
};

} // namespace qv::platform
