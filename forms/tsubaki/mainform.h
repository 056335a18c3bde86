// MAINFORM, the main window "当事者目録の設定": the person list, the selected person's details,
// the mode, backup and the way on to the family form.
#pragma once

#include "forms/tsubaki/form_window.h"

#include <memory>

namespace Ui {
class MAINFORM;
}

namespace forms {

class MainForm : public FormWindow {
    Q_OBJECT
public:
    explicit MainForm(QWidget* parent = nullptr);
    ~MainForm() override;

    // The controls, by their names.
    Ui::MAINFORM& ui() const { return *ui_; }

private:
    std::unique_ptr<Ui::MAINFORM> ui_;
};

} // namespace forms
