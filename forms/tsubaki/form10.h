// FORM10, "相続人設定": choosing the heirs of the statutory list chart.
#pragma once

#include "forms/tsubaki/form_window.h"

#include <memory>

namespace Ui {
class FORM10;
}

namespace forms {

class Form10 : public FormWindow {
    Q_OBJECT
public:
    explicit Form10(QWidget* parent = nullptr);
    ~Form10() override;

    // The controls, by their names.
    Ui::FORM10& ui() const { return *ui_; }

private:
    std::unique_ptr<Ui::FORM10> ui_;
};

} // namespace forms
