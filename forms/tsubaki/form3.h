// FORM3, "系図の表示": the chart view with its picture area, scroll bars, corner button and
// the menu entries "タスクバーへ" (MINI) and "ＢＭＰファイル化" (BMP_F).
#pragma once

#include "forms/tsubaki/form_window.h"

#include <memory>

namespace Ui {
class FORM3;
}

namespace forms {

class Form3 : public MainFormWindow {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);
    ~Form3() override;

    // The controls, by their names.
    Ui::FORM3& ui() const { return *ui_; }

private:
    std::unique_ptr<Ui::FORM3> ui_;
};

} // namespace forms
