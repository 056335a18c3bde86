#include "forms/tsubaki/form_window.h"

#include "platform/qt_text.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <algorithm>

using platform::toQString;

namespace forms {

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    Q_EMIT closeRequested();
}

void MainFormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    Q_EMIT closeRequested();
}

void FormWindow::setVisible(bool visible) {
    if (visible && !placed_ && isWindow()) {
        placeOnFirstShow();
    }
    QWidget::setVisible(visible);
}

void FormWindow::placeOnFirstShow() {
    placed_ = true;
    QScreen* screen = nullptr;
    if (anchor_ != nullptr) {
        screen = QGuiApplication::screenAt(anchor_->geometry().center());
    }
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect anchor = anchor_ != nullptr ? anchor_->geometry() : QRect();
    const QSize wanted = size().expandedTo(minimumSizeHint());
    const QRect g = openingGeometry(wanted, anchor, screen->availableGeometry());
    resize(g.size());
    move(g.topLeft());
}

QRect openingGeometry(QSize wanted, QRect anchor, QRect available, QMargins frame) {
    const QSize room(std::max(1, available.width() - frame.left() - frame.right()),
                     std::max(1, available.height() - frame.top() - frame.bottom()));
    const QSize size = wanted.boundedTo(room);
    const QRect around = anchor.isEmpty() ? available : anchor;
    QRect g(QPoint(0, 0), size);
    g.moveCenter(around.center());
    // The frame inside the screen, the title bar first.
    const int left = available.left() + frame.left();
    const int top = available.top() + frame.top();
    const int right = available.right() - frame.right() - size.width() + 1;
    const int bottom = available.bottom() - frame.bottom() - size.height() + 1;
    g.moveTo(std::clamp(g.x(), left, std::max(left, right)),
             std::clamp(g.y(), top, std::max(top, bottom)));
    return g;
}

void setAvailable(QAbstractButton& button, const std::string& whyNot) {
    button.setVisible(true);
    button.setEnabled(whyNot.empty());
    button.setToolTip(toQString(whyNot));
}

void setGuidance(QLabel& label, const std::string& text) {
    label.setText(toQString(text));
    label.setToolTip(toQString(text));
}

void showUndoButtons(QAbstractButton& undo, QAbstractButton& redo, const editing::UndoView& view) {
    undo.setEnabled(view.undoEnabled);
    undo.setToolTip(toQString(view.undoTip));
    redo.setEnabled(view.redoEnabled);
    redo.setToolTip(toQString(view.redoTip));
}

} // namespace forms
