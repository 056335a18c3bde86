// FORM11, "申出人と作成者の設定": the applicant and the author of the statutory list chart.
#pragma once

#include "forms/tsubaki/form_window.h"

#include <memory>

namespace Ui {
class FORM11;
}

namespace forms {

class Form11 : public FormWindow {
    Q_OBJECT
public:
    explicit Form11(QWidget* parent = nullptr);
    ~Form11() override;

    // The controls, by their names.
    Ui::FORM11& ui() const { return *ui_; }

private:
    std::unique_ptr<Ui::FORM11> ui_;
};

} // namespace forms
