// FORM4, "系図表示設定": the chart options, the hidden-family list and the start of a
// drawing.
#pragma once

#include "forms/tsubaki/form_window.h"

#include <memory>

namespace Ui {
class FORM4;
}

namespace forms {

class Form4 : public FormWindow {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);
    ~Form4() override;

    // The controls, by their names.
    Ui::FORM4& ui() const { return *ui_; }

private:
    std::unique_ptr<Ui::FORM4> ui_;
};

} // namespace forms
