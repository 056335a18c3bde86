#include "forms/mokuren/mokuren_export_form.h"

#include "platform/qt_text.h"

#include "ui_mokuren_form2.h"

#include <QCloseEvent>

using platform::toQString;
using platform::toUtf8;

namespace mokuren {

ExportForm::ExportForm(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::MokurenExportForm>()) {
    ui_->setupUi(this);
    connect(ui_->BUTTON2, &QPushButton::clicked, this, &ExportForm::exportRequested);
    connect(ui_->BUTTON3, &QPushButton::clicked, this, &ExportForm::cancelRequested);
}

ExportForm::~ExportForm() = default;

void ExportForm::load(const converter::PersonRegister& reg) {
    current_ = reg.current;
    ui_->LIST1->clear();
    for (auto notation : converter::exportSexNotations()) {
        ui_->LIST1->addItem(toQString(notation));
    }
    ui_->LIST1->setCurrentRow(converter::kDefaultSexNotation);
    for (QWidget* w : {static_cast<QWidget*>(ui_->Edit1), static_cast<QWidget*>(ui_->Edit2),
                       static_cast<QWidget*>(ui_->TEXT1), static_cast<QWidget*>(ui_->TEXT2)}) {
        w->setVisible(!reg.current);
    }
    ui_->CHECK13->setVisible(reg.current);
    ui_->CHECK14->setVisible(reg.current);
    if (!reg.current) {
        ui_->Edit1->setText(QString::number(reg.largest住所));
        ui_->Edit2->setText(QString::number(reg.largest本籍));
    }
}

std::optional<converter::ExportOptions> ExportForm::options(bool headerLine,
                                                            std::string& error) const {
    converter::ExportOptions o;
    o.header = headerLine;
    o.sex = std::max(ui_->LIST1->currentRow(), 0);
    o.joinName = ui_->CHECK2->isChecked();
    o.joinNote = ui_->CHECK15->isChecked();
    if (current_) {
        o.joinAddress = ui_->CHECK13->isChecked();
        o.joinDomicile = ui_->CHECK14->isChecked();
        return o;
    }
    const std::string address = toUtf8(ui_->Edit1->text());
    if (!converter::parseLimit(address, o.addressLimit)) {
        error = "住所の文字数制限には 0 以上の整数を入れてください（「" + address + "」）";
        return std::nullopt;
    }
    const std::string domicile = toUtf8(ui_->Edit2->text());
    if (!converter::parseLimit(domicile, o.domicileLimit)) {
        error = "本籍の文字数制限には 0 以上の整数を入れてください（「" + domicile + "」）";
        return std::nullopt;
    }
    return o;
}

void ExportForm::closeEvent(QCloseEvent* event) {
    event->accept();
    Q_EMIT cancelRequested();
}

} // namespace mokuren
