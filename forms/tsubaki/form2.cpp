#include "forms/tsubaki/form2.h"

#include "ui_form2.h"

namespace forms {

Form2::Form2(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM2>()) {
    ui_->setupUi(this);
}

Form2::~Form2() = default;

} // namespace forms
