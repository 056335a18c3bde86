#include "forms/mokuren/mokuren_import_form.h"

#include "common/cp932.h"
#include "converter/csv_export.h"
#include "platform/qt_text.h"

#include "ui_mokuren_form3.h"

#include <QCloseEvent>

using platform::toQString;
using platform::toUtf8;

namespace mokuren {

ImportForm::ImportForm(common::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::MokurenImportForm>()), dialogs_(dialogs) {
    ui_->setupUi(this);
    connect(ui_->BUTTON6, &QPushButton::clicked, this, &ImportForm::chartRequested);
    connect(ui_->BUTTON7, &QPushButton::clicked, this, &ImportForm::assignRequested);
    connect(ui_->BUTTON8, &QPushButton::clicked, this, &ImportForm::releaseRequested);
    connect(ui_->BUTTON9, &QPushButton::clicked, this, &ImportForm::importRequested);
    connect(ui_->BUTTON10, &QPushButton::clicked, this, &ImportForm::cancelRequested);
    connect(ui_->BUTTON4, &QPushButton::clicked, this, &ImportForm::registerSurname);
    connect(ui_->BUTTON5, &QPushButton::clicked, this, &ImportForm::removeSurname);
    for (QCheckBox* box : {ui_->CHECK3, ui_->CHECK4, ui_->CHECK5, ui_->CHECK6, ui_->CHECK7,
                           ui_->CHECK8, ui_->CHECK9, ui_->CHECK10, ui_->CHECK11, ui_->CHECK12}) {
        connect(box, &QCheckBox::toggled, this, &ImportForm::choicesChanged);
    }
    prepare();
}

ImportForm::~ImportForm() = default;

void ImportForm::prepare() {
    ui_->LIST2->clear();
    for (auto notation : converter::importSexNotations()) {
        ui_->LIST2->addItem(toQString(notation));
    }
    ui_->LIST2->setCurrentRow(converter::kDefaultSexNotation);
    ui_->Edit3->clear();
    chart_ = {};
    chartReady_ = false;
    setTable({});
}

void ImportForm::setTable(converter::CsvTable table) {
    table_ = std::move(table);
    assignment_ = converter::ColumnAssignment(table_.columns());
    refillLists();
    updateEnabling();
}

void ImportForm::buildChart() {
    chart_ = converter::registrationChart(choices());
    ui_->Edit3->setPlainText(toQString(chart_.text));
    chartReady_ = true;
    updateEnabling();
}

void ImportForm::assignSelected() {
    std::vector<int> columns;
    for (int row = 0; row < ui_->LIST3->count(); ++row) {
        const QListWidgetItem* item = ui_->LIST3->item(row);
        if (item->isSelected()) {
            columns.push_back(item->data(Qt::UserRole).toInt());
        }
    }
    assignment_.assign(columns);
    refillLists();
}

void ImportForm::releaseSelected() {
    std::vector<int> positions;
    for (int row = 0; row < ui_->LIST4->count(); ++row) {
        if (ui_->LIST4->item(row)->isSelected()) {
            positions.push_back(row);
        }
    }
    assignment_.release(positions);
    refillLists();
}

void ImportForm::refillLists() {
    ui_->LIST3->clear();
    for (int column : assignment_.freeColumns()) {
        auto* item = new QListWidgetItem(toQString(table_.caption(column)), ui_->LIST3);
        item->setData(Qt::UserRole, column);
    }
    ui_->LIST4->clear();
    for (int column : assignment_.order()) {
        auto* item = new QListWidgetItem(toQString(table_.caption(column)), ui_->LIST4);
        item->setData(Qt::UserRole, column);
    }
}

converter::ImportChoices ImportForm::choices() const {
    converter::ImportChoices c;
    c.sex = ui_->CHECK3->isChecked();
    c.sexNotation = std::max(ui_->LIST2->currentRow(), 0);
    c.splitName = ui_->CHECK4->isChecked();
    c.address = ui_->CHECK5->isChecked();
    c.address2 = ui_->CHECK6->isChecked();
    c.domicile = ui_->CHECK7->isChecked();
    c.domicile2 = ui_->CHECK8->isChecked();
    c.birth = ui_->CHECK9->isChecked();
    c.death = ui_->CHECK10->isChecked();
    c.note = ui_->CHECK11->isChecked();
    c.note2 = ui_->CHECK12->isChecked();
    return c;
}

std::vector<std::string> ImportForm::surnames() const {
    std::vector<std::string> out;
    for (int i = 0; i < ui_->COMBO1->count(); ++i) {
        out.push_back(toUtf8(ui_->COMBO1->itemText(i)));
    }
    return out;
}

void ImportForm::registerSurname() {
    std::string surname;
    try {
        surname = converter::registeredSurname(toUtf8(ui_->COMBO1->currentText()));
    } catch (const common::Cp932Error& e) {
        dialogs_.ok("姓を登録できません", e.what(), common::Icon::Exclamation);
        return;
    }
    if (!surname.empty() && ui_->COMBO1->findText(toQString(surname)) < 0) {
        ui_->COMBO1->addItem(toQString(surname));
    }
    ui_->COMBO1->setEditText(QString());
}

void ImportForm::removeSurname() {
    const int index = ui_->COMBO1->findText(ui_->COMBO1->currentText());
    if (index >= 0) {
        ui_->COMBO1->removeItem(index);
    }
    ui_->COMBO1->setEditText(QString());
}

void ImportForm::choicesChanged() {
    // Another choice changes the chart: assigning and importing wait for a new one.
    chartReady_ = false;
    updateEnabling();
}

void ImportForm::updateEnabling() {
    const bool sex = ui_->CHECK3->isChecked();
    ui_->TEXT4->setEnabled(sex);
    ui_->LIST2->setEnabled(sex);
    const bool registering = !ui_->CHECK4->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(ui_->COMBO1), static_cast<QWidget*>(ui_->TEXT5),
                       static_cast<QWidget*>(ui_->BUTTON4), static_cast<QWidget*>(ui_->BUTTON5)}) {
        w->setEnabled(registering);
    }
    ui_->CHECK6->setEnabled(ui_->CHECK5->isChecked());
    ui_->CHECK8->setEnabled(ui_->CHECK7->isChecked());
    ui_->CHECK12->setEnabled(ui_->CHECK11->isChecked());
    ui_->BUTTON7->setEnabled(chartReady_);
    ui_->BUTTON8->setEnabled(chartReady_);
    ui_->BUTTON9->setEnabled(chartReady_);
}

void ImportForm::closeEvent(QCloseEvent* event) {
    event->accept();
    Q_EMIT cancelRequested();
}

} // namespace mokuren
