#include "forms/tsubaki/form4.h"

#include "ui_form4.h"

namespace forms {

Form4::Form4(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM4>()) {
    ui_->setupUi(this);
}

Form4::~Form4() = default;

} // namespace forms
