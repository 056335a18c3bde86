// The top-level windows of tsubaki. Closing one through its frame does not close it: the
// window reports closeRequested() and the program decides what the close means (the
// "終　了" of MAINFORM and FORM2, the cancel of a sub-form), so that no window disappears
// with unsaved data and the program never runs on without a visible window.
#pragma once

#include <QMainWindow>
#include <QWidget>

namespace forms {

class FormWindow : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

Q_SIGNALS:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
};

// The same for the chart window, which has a menu bar.
class MainFormWindow : public QMainWindow {
    Q_OBJECT
public:
    using QMainWindow::QMainWindow;

Q_SIGNALS:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace forms
