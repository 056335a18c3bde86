#include "forms/tsubaki/form8.h"

#include "platform/qt_text.h"

#include "ui_form8.h"

using platform::toQString;
using platform::toUtf8;

namespace forms {

Form8::Form8(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM8>()) {
    ui_->setupUi(this);
    connect(ui_->BUTTON38, &QAbstractButton::clicked, this,
            [this] { Q_EMIT eventRaised(editing::EventCode::BUTTON38_ON); });
}

Form8::~Form8() = default;

std::array<QLineEdit*, 4> Form8::addressLines() const {
    return {ui_->EDIT23, ui_->EDIT24, ui_->EDIT25, ui_->EDIT26};
}

void Form8::load(const editing::ExplanationOptions& options) {
    ui_->CHECK37->setChecked(options.deceasedInfo);
    ui_->CHECK38->setChecked(options.returnNote);
    const auto lines = addressLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i]->setText(toQString(options.registryAddress[i]));
    }
}

editing::ExplanationOptions Form8::typed() const {
    editing::ExplanationOptions options;
    options.deceasedInfo = ui_->CHECK37->isChecked();
    options.returnNote = ui_->CHECK38->isChecked();
    const auto lines = addressLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        options.registryAddress[i] = toUtf8(lines[i]->text());
    }
    return options;
}

void Form8::focusAddressLine(std::size_t line) {
    addressLines().at(line)->setFocus();
}

} // namespace forms
