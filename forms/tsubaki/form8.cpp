#include "forms/tsubaki/form8.h"

#include "ui_form8.h"

namespace forms {

Form8::Form8(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM8>()) {
    ui_->setupUi(this);
}

Form8::~Form8() = default;

} // namespace forms
