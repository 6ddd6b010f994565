#include "catalogue/ui/CatalogueApp.h"

int main(int argc, char** argv) {
    return qv::catalogue::CatalogueApp().run(argc, argv);
}
