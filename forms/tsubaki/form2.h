// FORM2, "家族関連の設定": the family list, the base family for drawing and the way on to
// the family details and the chart.
#pragma once

#include "forms/tsubaki/form_window.h"

#include <memory>

namespace Ui {
class FORM2;
}

namespace forms {

class Form2 : public FormWindow {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
    ~Form2() override;

    // The controls, by their names.
    Ui::FORM2& ui() const { return *ui_; }

private:
    std::unique_ptr<Ui::FORM2> ui_;
};

} // namespace forms
