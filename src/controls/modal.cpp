#include "controls/modal.h"

#include "controls/modal_placement.h"

#include <QDialog>

namespace {
ModalHandler& installedHandler() {
    static ModalHandler handler;
    return handler;
}
} // namespace

int execModal(QDialog& dialog) {
    if (installedHandler())
        return installedHandler()(dialog);
    ModalPlacement placement(dialog);
    return dialog.exec();
}

void setModalHandler(ModalHandler handler) {
    installedHandler() = std::move(handler);
}
