#include "forms/tsubaki/form11.h"

#include "ui_form11.h"

namespace forms {

Form11::Form11(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM11>()) {
    ui_->setupUi(this);
}

Form11::~Form11() = default;

} // namespace forms
