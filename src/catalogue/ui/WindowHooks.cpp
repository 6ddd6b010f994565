#include "catalogue/ui/WindowHooks.h"

#include <QDialog>

namespace qv::catalogue {

int WindowHooks::run(QDialog& dialog) const {
    if (modal) {
        modal(dialog);
        return dialog.result();
    }
    return dialog.exec();
}

} // namespace qv::catalogue
