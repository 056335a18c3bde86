#include "forms/tsubaki/form9.h"

#include "ui_form9.h"

namespace forms {

Form9::Form9(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM9>()) {
    ui_->setupUi(this);
}

Form9::~Form9() = default;

} // namespace forms
