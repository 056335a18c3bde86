#include "forms/tsubaki/form11.h"

#include "platform/qt_text.h"

#include "ui_form11.h"

#include <QSignalBlocker>

using platform::toQString;
using platform::toUtf8;

namespace forms {

namespace {

// The texts of the fields, in the order of the form's fields.
constexpr std::string editing::ApplicantFields::*kTexts[] = {
    &editing::ApplicantFields::applicantAddress,
    &editing::ApplicantFields::applicantName,
    &editing::ApplicantFields::creatorAddress,
    &editing::ApplicantFields::creatorName,
    &editing::ApplicantFields::date,
};

} // namespace

Form11::Form11(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM11>()) {
    ui_->setupUi(this);
    using E = editing::EventCode;
    // A choice by click or keyboard, never twice for one choice.
    connect(ui_->LIST9, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            Q_EMIT eventRaised(E::LIST9_CLICK);
        }
    });
    connect(ui_->BUTTON48, &QAbstractButton::clicked, this,
            [this] { Q_EMIT eventRaised(E::BUTTON48_ON); });
    connect(ui_->BUTTON47, &QAbstractButton::clicked, this, [this] {
        ui_->EDIT29->setText(ui_->EDIT27->text());
        ui_->EDIT30->setText(ui_->EDIT28->text());
    });
}

Form11::~Form11() = default;

std::array<QLineEdit*, 5> Form11::texts() const {
    return {ui_->EDIT27, ui_->EDIT28, ui_->EDIT29, ui_->EDIT30, ui_->EDIT31};
}

void Form11::load(const std::vector<std::string>& applicants,
                  const editing::ApplicantFields& fields) {
    {
        // Showing the stored applicant is no choice: the fields keep what was stored.
        const QSignalBlocker block(ui_->LIST9);
        ui_->LIST9->clear();
        for (const std::string& line : applicants) {
            ui_->LIST9->addItem(toQString(line));
        }
        ui_->LIST9->setCurrentRow(fields.applicant);
    }
    showTexts(fields);
    ui_->CHECK48->setChecked(fields.omitSettings);
}

editing::ApplicantFields Form11::typed() const {
    editing::ApplicantFields fields;
    fields.applicant = ui_->LIST9->currentRow();
    const auto edits = texts();
    for (std::size_t i = 0; i < edits.size(); ++i) {
        fields.*kTexts[i] = toUtf8(edits[i]->text());
    }
    fields.omitSettings = ui_->CHECK48->isChecked();
    return fields;
}

void Form11::showTexts(const editing::ApplicantFields& fields) {
    const auto edits = texts();
    for (std::size_t i = 0; i < edits.size(); ++i) {
        edits[i]->setText(toQString(fields.*kTexts[i]));
    }
}

void Form11::showApplicant(const std::optional<editing::ApplicantLines>& applicant) {
    if (!applicant) {
        ui_->EDIT27->clear();
        ui_->EDIT28->clear();
        return;
    }
    ui_->EDIT27->setText(toQString(applicant->address));
    ui_->EDIT28->setText(toQString(applicant->name));
}

int Form11::chosenApplicant() const {
    return ui_->LIST9->currentRow();
}

void Form11::focusText(std::size_t field) {
    texts().at(field)->setFocus();
}

} // namespace forms
