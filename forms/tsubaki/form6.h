// FORM6, "家族の詳細設定": one family's partners, form, titles, display flags and
// children.
#pragma once

#include "forms/tsubaki/form_window.h"

#include <memory>

namespace Ui {
class FORM6;
}

namespace forms {

class Form6 : public FormWindow {
    Q_OBJECT
public:
    explicit Form6(QWidget* parent = nullptr);
    ~Form6() override;

    // The controls, by their names.
    Ui::FORM6& ui() const { return *ui_; }

private:
    std::unique_ptr<Ui::FORM6> ui_;
};

} // namespace forms
