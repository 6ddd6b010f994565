// UNINSTAL.EXE: the uninstall for the folder this program is installed in.
#include "platform/ProgramStart.h"
#include "setup/ui/SetupApp.h"

int main(int argc, char** argv) {
    const std::string folder = (qv::platform::ProgramStart::ProgramFolder() / "").string();
    // "/U", a separator, the install folder, a bar and a second path, as the setup reads it.
    return qv::setup::SetupApp().run(argc, argv, "/U " + folder + "|" + folder);
}
