#include "forms/tsubaki/page_setup_form.h"

#include "ui_page_setup_form.h"

namespace forms {

PageSetupForm::PageSetupForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::PAGESETUP>()) {
    ui_->setupUi(this);
}

PageSetupForm::~PageSetupForm() = default;

} // namespace forms
