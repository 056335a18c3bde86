#include "forms/tsubaki/form10.h"

#include "ui_form10.h"

namespace forms {

Form10::Form10(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM10>()) {
    ui_->setupUi(this);
}

Form10::~Form10() = default;

} // namespace forms
