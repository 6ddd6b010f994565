#pragma once

#include <string>

namespace qv {

struct ProgramState;

/// The hand-off between the suite's programs: the command line the starting program
/// left in QVLEGAL.INI ("Binding Data", "Run") runs when this one closes, so that the
/// user lands back where he came from.
class HandOff {
public:
    static constexpr const char* kFile = "QVLEGAL.INI";
    static constexpr const char* kSection = "Binding Data";
    static constexpr const char* kKey = "Run";
    static constexpr const char* kShowGroup = "[ShowGroup(Q-V Davov Software,1)]";

    explicit HandOff(ProgramState& state) : state_(state) {}

    /// Before the program closes: unless the print-file workflow passed the hand-off
    /// on, starts the waiting command line and empties the entry.
    void CloseWithHandOff();
    /// Before New Form closes the program: starts the waiting command line with "/New"
    /// so the catalogue shows its forms at once, or, with nothing waiting or when the
    /// program was started without a command line, shows the suite's program group.
    void NewForm();

    static std::string ReadEntry();
    static void ClearEntry();

private:
    ProgramState& state_;
};

} // namespace qv
