#include "editor/QvEditApp.h"

int main(int argc, char** argv) {
    return qv::editor::QvEditApp().run(argc, argv);
}
