#include "forms/tsubaki/form5.h"

#include "ui_form5.h"

namespace forms {

Form5::Form5(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM5>()) {
    ui_->setupUi(this);
}

Form5::~Form5() = default;

void Form5::arrangeNameFields(int nameOrder) {
    QLineEdit* first = nameOrder == 1 ? ui_->EDIT_A2A : ui_->EDIT_A1A;
    QLineEdit* second = nameOrder == 1 ? ui_->EDIT_A1A : ui_->EDIT_A2A;
    first->hide();
    second->hide();
    ui_->nameGrid->removeWidget(first);
    ui_->nameGrid->removeWidget(second);
    ui_->nameGrid->addWidget(first, 0, 1);
    ui_->nameGrid->addWidget(second, 0, 3);
    ui_->TEXT_A14A->setText(nameOrder == 1 ? "名" : "姓");
    ui_->TEXT_A9A->setText(nameOrder == 1 ? "姓" : "名");
    setTabOrder(first, second);
    first->show();
    second->show();
}

} // namespace forms
