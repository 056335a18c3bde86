#include "forms/tsubaki/form_window.h"

#include <QCloseEvent>

namespace forms {

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit closeRequested();
}

void MainFormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit closeRequested();
}

} // namespace forms
