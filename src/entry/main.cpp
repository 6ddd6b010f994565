#include "entry/QvLegalApp.h"

int main(int argc, char** argv) {
    return qv::QvLegalApp().run(argc, argv);
}
