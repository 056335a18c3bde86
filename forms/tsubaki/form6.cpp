#include "forms/tsubaki/form6.h"

#include "ui_form6.h"

namespace forms {

Form6::Form6(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM6>()) {
    ui_->setupUi(this);
    // The candidate list of the child entry opens with "子供の追加".
    ui_->LIST_A4A->hide();
    ui_->TEXT32->hide();
}

Form6::~Form6() = default;

} // namespace forms
