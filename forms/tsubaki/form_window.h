// The top-level windows of tsubaki. Closing one through its frame does not close it: the
// window reports closeRequested() and the program decides what the close means (the
// "終　了" of MAINFORM and FORM2, the cancel of a sub-form), so that no window disappears
// with unsaved data and the program never runs on without a visible window.
//
// A form opens, the first time it is shown, centred on its placement anchor (the main
// window) and no larger than the screen it opens on, so that it fits a small screen; a form
// whose content is taller scrolls it. Later it opens where the user left it. Two forms used
// together open side by side: the second beside the first (to its right, overlapping it only
// as far as the screen is too narrow), the first leaving room for it.
//
// Beside it, what the forms share: a button that cannot act says why in its tooltip, a
// guidance line, and the buttons "元に戻す" (Ctrl+Z) and "やり直す" (Ctrl+Y).
#pragma once

#include "editing/register_history.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QMainWindow>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <string>

class QLabel;

namespace forms {

class FormWindow : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // The window this one opens centred on; none (or one deleted since): the screen.
    void setPlacementAnchor(QWidget* anchor) { anchor_ = anchor; }
    QWidget* placementAnchor() const { return anchor_; }
    // This window opens beside `first`, which leaves room for it.
    void setOpensBeside(FormWindow& first);
    FormWindow* opensBeside() const { return beside_; }
    // Whether the window was placed by its first showing.
    bool placed() const { return placed_; }

    void setVisible(bool visible) override;

Q_SIGNALS:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void placeOnFirstShow();

    QPointer<QWidget> anchor_;
    QPointer<FormWindow> beside_;    // the window this one opens beside
    QPointer<FormWindow> companion_; // the window that opens beside this one
    bool placed_ = false;
};

// The same for the chart window, which has a menu bar. It opens, the first time it is shown,
// at a size for looking at a chart: most of the screen (usefulGeometry); later where the user
// left it.
class MainFormWindow : public QMainWindow {
    Q_OBJECT
public:
    using QMainWindow::QMainWindow;

    void setVisible(bool visible) override;

Q_SIGNALS:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool placed_ = false;
};

// The room a window manager's frame takes around a window before the window exists (title
// bar above, borders around).
inline constexpr QMargins kAssumedFrame{8, 32, 8, 8};

// Where a window of `wanted` size opens: no larger than `available` (the screen without its
// task bar) less `frame`, centred on `anchor` (on `available` when `anchor` is empty), and
// moved inside `available` with its frame when the centre would put it partly outside.
// `roomBeside` is the width of a window that opens beside this one: the two are centred
// together, this one on the left.
QRect openingGeometry(QSize wanted, QRect anchor, QRect available, QMargins frame = kAssumedFrame,
                      int roomBeside = 0);
// Where a window of `wanted` size opens beside `first` (the first window's geometry): to
// its right with the tops level, moved left over it as far as the screen is too narrow, no
// larger than `available` less `frame`.
QRect besideGeometry(QSize wanted, QRect first, QRect available, QMargins frame = kAssumedFrame);

// The chart window's first place: nine tenths of `available` (the screen without its task
// bar) each way with its frame, centred.
QRect usefulGeometry(QRect available, QMargins frame = kAssumedFrame);

// A button that can act when `whyNot` is empty; otherwise disabled, saying why in its tooltip.
void setAvailable(QAbstractButton& button, const std::string& whyNot);
// A guidance line: `text` (also its tooltip, for a line cut short by the window's width).
void setGuidance(QLabel& label, const std::string& text);
// "元に戻す" and "やり直す" as `view` says.
void showUndoButtons(QAbstractButton& undo, QAbstractButton& redo, const editing::UndoView& view);

// Gives "元に戻す" and "やり直す" their keys (Ctrl+Z, Ctrl+Y) and makes them raise the form's
// signals. A text field with the keyboard focus keeps the keys for its own text.
template <class Form>
void connectUndoButtons(QAbstractButton& undo, QAbstractButton& redo, Form& form,
                        void (Form::*undoSignal)(), void (Form::*redoSignal)()) {
    undo.setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    redo.setShortcut(QKeySequence(QStringLiteral("Ctrl+Y")));
    QObject::connect(&undo, &QAbstractButton::clicked, &form, [&form, undoSignal] {
        Q_EMIT(form.*undoSignal)();
    });
    QObject::connect(&redo, &QAbstractButton::clicked, &form, [&form, redoSignal] {
        Q_EMIT(form.*redoSignal)();
    });
}

} // namespace forms
