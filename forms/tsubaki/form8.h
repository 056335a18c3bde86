// FORM8, "相続関係説明図のオプション設定": the options of the inheritance-relationship
// chart.
#pragma once

#include "forms/tsubaki/form_window.h"

#include <memory>

namespace Ui {
class FORM8;
}

namespace forms {

class Form8 : public FormWindow {
    Q_OBJECT
public:
    explicit Form8(QWidget* parent = nullptr);
    ~Form8() override;

    // The controls, by their names.
    Ui::FORM8& ui() const { return *ui_; }

private:
    std::unique_ptr<Ui::FORM8> ui_;
};

} // namespace forms
