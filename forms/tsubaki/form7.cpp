#include "forms/tsubaki/form7.h"

#include "ui_form7.h"

namespace forms {

Form7::Form7(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM7>()) {
    ui_->setupUi(this);
}

Form7::~Form7() = default;

} // namespace forms
