#include "setup/ui/SetupApp.h"

int main(int argc, char** argv) {
    return qv::setup::SetupApp().run(argc, argv);
}
