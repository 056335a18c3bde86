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

void MainFormWindow::setVisible(bool visible) {
    if (visible && !placed_ && isWindow()) {
        placed_ = true;
        if (QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
            setGeometry(usefulGeometry(screen->availableGeometry()));
        }
    }
    QMainWindow::setVisible(visible);
}

QRect usefulGeometry(QRect available, QMargins frame) {
    const int outerW = available.width() * 9 / 10;
    const int outerH = available.height() * 9 / 10;
    const int left = available.left() + (available.width() - outerW) / 2;
    const int top = available.top() + (available.height() - outerH) / 2;
    return {left + frame.left(), top + frame.top(),
            std::max(1, outerW - frame.left() - frame.right()),
            std::max(1, outerH - frame.top() - frame.bottom())};
}

void FormWindow::setOpensBeside(FormWindow& first) {
    beside_ = &first;
    first.companion_ = this;
}

void FormWindow::placeOnFirstShow() {
    placed_ = true;
    const bool beside = beside_ != nullptr && beside_->placed();
    QWidget* reference = beside ? static_cast<QWidget*>(beside_.data()) : anchor_.data();
    QScreen* screen = nullptr;
    if (reference != nullptr) {
        screen = QGuiApplication::screenAt(reference->geometry().center());
    }
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QSize wanted = size().expandedTo(minimumSizeHint());
    QRect g;
    if (beside) {
        g = besideGeometry(wanted, beside_->geometry(), available);
    } else {
        const int room = companion_ != nullptr ? companion_->size().width() + kAssumedFrame.left() +
                                                     kAssumedFrame.right()
                                               : 0;
        g = openingGeometry(wanted, anchor_ != nullptr ? anchor_->geometry() : QRect(), available,
                            kAssumedFrame, room);
    }
    resize(g.size());
    move(g.topLeft());
}

namespace {

// `g` moved inside `available` with its frame, the title bar first.
QRect keptOnScreen(QRect g, QRect available, QMargins frame) {
    const int left = available.left() + frame.left();
    const int top = available.top() + frame.top();
    const int right = available.right() - frame.right() - g.width() + 1;
    const int bottom = available.bottom() - frame.bottom() - g.height() + 1;
    g.moveTo(std::clamp(g.x(), left, std::max(left, right)),
             std::clamp(g.y(), top, std::max(top, bottom)));
    return g;
}

QSize roomOn(QRect available, QMargins frame) {
    return {std::max(1, available.width() - frame.left() - frame.right()),
            std::max(1, available.height() - frame.top() - frame.bottom())};
}

} // namespace

QRect openingGeometry(QSize wanted, QRect anchor, QRect available, QMargins frame, int roomBeside) {
    const QSize size = wanted.boundedTo(roomOn(available, frame));
    const QRect around = anchor.isEmpty() ? available : anchor;
    // The pair (this window and the room beside it) centred, then kept on the screen.
    QRect pair(QPoint(0, 0), QSize(size.width() + std::max(0, roomBeside), size.height()));
    pair.moveCenter(around.center());
    pair = keptOnScreen(pair, available, frame);
    return keptOnScreen(QRect(pair.topLeft(), size), available, frame);
}

QRect besideGeometry(QSize wanted, QRect first, QRect available, QMargins frame) {
    const QSize size = wanted.boundedTo(roomOn(available, frame));
    const QRect g(QPoint(first.right() + 1 + frame.right() + frame.left(), first.top()), size);
    return keptOnScreen(g, available, frame);
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
