#include "tools/qvform/QvformApp.h"

int main(int argc, char** argv) {
    return qv::tools::QvformApp().run(argc, argv);
}
