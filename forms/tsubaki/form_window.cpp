#include "forms/tsubaki/form_window.h"

#include <QCloseEvent>

namespace forms {

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    Q_EMIT closeRequested();
}

void MainFormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    Q_EMIT closeRequested();
}

} // namespace forms
