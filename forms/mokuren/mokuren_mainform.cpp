#include "forms/mokuren/mokuren_mainform.h"

#include "ui_mokuren_mainform.h"

#include <QCloseEvent>

namespace mokuren {

MainForm::MainForm(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::MokurenMainForm>()) {
    ui_->setupUi(this);
    connect(ui_->BUTTON1, &QPushButton::clicked, this, &MainForm::runRequested);
    connect(ui_->RADIO5, &QRadioButton::toggled, ui_->COMBO1, &QComboBox::setEnabled);
}

MainForm::~MainForm() = default;

Job MainForm::job() const {
    if (ui_->RADIO2->isChecked()) {
        return Job::Import;
    }
    if (ui_->RADIO3->isChecked()) {
        return Job::Mask;
    }
    if (ui_->RADIO4->isChecked()) {
        return Job::Restore;
    }
    if (ui_->RADIO5->isChecked()) {
        return Job::GedcomExport;
    }
    if (ui_->RADIO6->isChecked()) {
        return Job::GedcomImport;
    }
    return Job::Export; // the radio buttons are exclusive and RADIO1 starts selected
}

bool MainForm::headerLine() const {
    return ui_->CHECK1->isChecked();
}

converter::GedcomVersion MainForm::gedcomVersion() const {
    return ui_->COMBO1->currentIndex() == 1 ? converter::GedcomVersion::V70
                                            : converter::GedcomVersion::V551;
}

void MainForm::closeEvent(QCloseEvent* event) {
    event->accept();
    Q_EMIT closeRequested();
}

} // namespace mokuren
