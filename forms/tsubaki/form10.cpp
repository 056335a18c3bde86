#include "forms/tsubaki/form10.h"

#include "platform/qt_text.h"

#include "ui_form10.h"

#include <utility>

using platform::toQString;
using platform::toUtf8;

namespace forms {

Form10::Form10(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM10>()) {
    ui_->setupUi(this);
    using E = editing::EventCode;
    const std::pair<QAbstractButton*, E> clicks[] = {
        {ui_->BUTTON46, E::BUTTON46_ON}, // "設定完了"
        {ui_->BUTTON44, E::BUTTON44_ON}, // "全部選択"
        {ui_->BUTTON45, E::BUTTON45_ON}, // "全部解除"
    };
    for (const auto& [button, code] : clicks) {
        connect(button, &QAbstractButton::clicked, this,
                [this, raised = code] { Q_EMIT eventRaised(raised); });
    }
    connect(ui_->chooseLegalHeirs, &QAbstractButton::clicked, this,
            [this] { Q_EMIT legalHeirsRequested(); });
}

Form10::~Form10() = default;

void Form10::showHeirs(const std::vector<std::string>& lines, const std::vector<bool>& selected) {
    QListWidget* list = ui_->LIST8;
    list->clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        list->addItem(toQString(lines[i]));
        list->item(list->count() - 1)->setSelected(i < selected.size() && selected[i]);
    }
}

void Form10::selectHeirs(const std::vector<bool>& selected) {
    QListWidget* list = ui_->LIST8;
    for (int i = 0; i < list->count() && static_cast<std::size_t>(i) < selected.size(); ++i) {
        list->item(i)->setSelected(selected[static_cast<std::size_t>(i)]);
    }
}

void Form10::selectAllHeirs(bool selected) {
    QListWidget* list = ui_->LIST8;
    for (int i = 0; i < list->count(); ++i) {
        list->item(i)->setSelected(selected);
    }
}

std::vector<bool> Form10::heirSelection() const {
    std::vector<bool> selected;
    for (int i = 0; i < ui_->LIST8->count(); ++i) {
        selected.push_back(ui_->LIST8->item(i)->isSelected());
    }
    return selected;
}

void Form10::showShares(const std::vector<std::string>& lines) {
    ui_->heirShares->clear();
    for (const std::string& line : lines) {
        ui_->heirShares->addItem(toQString(line));
    }
}

void Form10::loadOptions(const editing::HeirOptions& options) {
    ui_->CHECK47->setChecked(options.withAddresses);
    ui_->CHECK49->setChecked(options.familyHeadship);
    ui_->EDIT32->setText(toQString(options.titleAddition));
    ui_->listFormCheck->setChecked(options.listForm);
}

editing::HeirOptions Form10::typedOptions() const {
    editing::HeirOptions options;
    options.withAddresses = ui_->CHECK47->isChecked();
    options.familyHeadship = ui_->CHECK49->isChecked();
    options.titleAddition = toUtf8(ui_->EDIT32->text());
    options.listForm = ui_->listFormCheck->isChecked();
    return options;
}

void Form10::showTitleAddition(const std::string& text) {
    ui_->EDIT32->setText(toQString(text));
}

void Form10::focusTitleAddition() {
    ui_->EDIT32->setFocus();
}

} // namespace forms
