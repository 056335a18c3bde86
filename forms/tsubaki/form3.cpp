#include "forms/tsubaki/form3.h"

#include "ui_form3.h"

namespace forms {

Form3::Form3(QWidget* parent) : MainFormWindow(parent), ui_(std::make_unique<Ui::FORM3>()) {
    ui_->setupUi(this);
}

Form3::~Form3() = default;

} // namespace forms
