#include "forms/tsubaki/form7.h"

#include "platform/qt_text.h"

#include "ui_form7.h"

#include <QSignalBlocker>

using platform::toQString;

namespace forms {

namespace {

// The boxes, each with the record field it copies and the caption before that field's text.
struct FieldBox {
    QCheckBox* Ui::FORM7::*box;
    editing::PersonTextField field;
    const char* caption;
};

const FieldBox kFieldBoxes[] = {
    {&Ui::FORM7::CHECK27, &core::当事者::姓, "　　姓："},
    {&Ui::FORM7::CHECK28, &core::当事者::名, "　　名："},
    {&Ui::FORM7::CHECK29, &core::当事者::住所1, "住所１："},
    {&Ui::FORM7::CHECK30, &core::当事者::住所2, "住所２："},
    {&Ui::FORM7::CHECK31, &core::当事者::本籍1, "本籍１："},
    {&Ui::FORM7::CHECK32, &core::当事者::本籍2, "本籍２："},
    {&Ui::FORM7::CHECK33, &core::当事者::備考1, "備考１："},
    {&Ui::FORM7::CHECK34, &core::当事者::備考2, "備考２："},
    {&Ui::FORM7::CHECK41, &core::当事者::生年月日, "　生年月日："},
    {&Ui::FORM7::CHECK42, &core::当事者::死亡年月日, "死亡年月日："},
};

} // namespace

Form7::Form7(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM7>()) {
    ui_->setupUi(this);
    using E = editing::EventCode;
    connect(ui_->LIST6, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            Q_EMIT eventRaised(E::LIST6_CLICK);
        }
    });
    connect(ui_->BUTTON35, &QAbstractButton::clicked, this,
            [this] { Q_EMIT eventRaised(E::BUTTON35_ON); });
}

Form7::~Form7() = default;

void Form7::showPersons(const std::vector<std::string>& lines) {
    const QSignalBlocker quiet(ui_->LIST6);
    ui_->LIST6->clear();
    for (const auto& line : lines) {
        ui_->LIST6->addItem(toQString(line));
    }
}

void Form7::selectPerson(int n) {
    const QSignalBlocker quiet(ui_->LIST6);
    ui_->LIST6->setCurrentRow(n - 1);
}

int Form7::selectedPerson() const {
    return ui_->LIST6->currentRow() + 1;
}

void Form7::showSource(const core::当事者& source) {
    for (const auto& f : kFieldBoxes) {
        (ui_.get()->*(f.box))->setText(toQString(std::string(f.caption) + source.*(f.field)));
    }
}

std::vector<editing::PersonTextField> Form7::tickedFields() const {
    std::vector<editing::PersonTextField> fields;
    for (const auto& f : kFieldBoxes) {
        if ((ui_.get()->*(f.box))->isChecked()) {
            fields.push_back(f.field);
        }
    }
    return fields;
}

} // namespace forms
