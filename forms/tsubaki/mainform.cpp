#include "forms/tsubaki/mainform.h"

#include "forms/tsubaki/form_window.h"
#include "platform/qt_text.h"

#include "ui_mainform.h"

#include <QSignalBlocker>

#include <utility>

using platform::toQString;

namespace forms {

MainForm::MainForm(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::MAINFORM>()) {
    ui_->setupUi(this);
    using E = editing::EventCode;
    const std::pair<QAbstractButton*, E> clicks[] = {
        {ui_->BUTTON_A1A, E::BUTTON_A1A_ON},   // "当事者リストに新規追加"
        {ui_->BUTTON_A3A, E::BUTTON_A3A_ON},   // "データをファイルに保存"
        {ui_->BUTTON_A8A, E::BUTTON_A8A_ON},   // "家族構成へ"
        {ui_->BUTTON_A15A, E::BUTTON_A15A_ON}, // "終　了"
        {ui_->BUTTON_A26A, E::BUTTON_A26A_ON}, // "名前を検索"
        {ui_->BUTTON_A27A, E::BUTTON_A27A_ON}, // "次を検索"
        {ui_->BUTTON_A30A, E::BUTTON_A30A_ON}, // the mode toggle
        {ui_->BUTTON39, E::BUTTON39_ON},       // "作図開始"
    };
    for (const auto& [button, code] : clicks) {
        connect(button, &QAbstractButton::clicked, this,
                [this, raised = code] { Q_EMIT eventRaised(raised); });
    }
    connect(ui_->LIST_A1A, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            setEditEnabled(true);
            Q_EMIT eventRaised(E::LIST_A1A_CLICK);
        }
    });
    connect(ui_->BUTTON34, &QAbstractButton::clicked, this, [this] {
        if (selectedPerson() > 0) {
            Q_EMIT eventRaised(E::BUTTON34_ON);
        }
    });
    connect(ui_->BUTTON49, &QAbstractButton::clicked, this, [this] { Q_EMIT backupRequested(); });
    connectUndoButtons(*ui_->undoButton, *ui_->redoButton, *this, &MainForm::undoRequested,
                       &MainForm::redoRequested);
    setEditEnabled(false);
}

MainForm::~MainForm() = default;

void MainForm::showPersons(const std::vector<std::string>& lines) {
    const QSignalBlocker quiet(ui_->LIST_A1A);
    ui_->LIST_A1A->clear();
    for (const auto& line : lines) {
        ui_->LIST_A1A->addItem(toQString(line));
    }
}

void MainForm::selectPerson(int n) {
    {
        const QSignalBlocker quiet(ui_->LIST_A1A);
        ui_->LIST_A1A->setCurrentRow(n - 1);
    }
    setEditEnabled(ui_->LIST_A1A->currentRow() >= 0);
}

void MainForm::clearSelection() {
    const QSignalBlocker quiet(ui_->LIST_A1A);
    ui_->LIST_A1A->setCurrentRow(-1);
    ui_->LIST_A1A->clearSelection();
}

int MainForm::selectedPerson() const {
    return ui_->LIST_A1A->currentRow() + 1;
}

void MainForm::showDetail(const std::string& text) {
    ui_->EDIT20->setPlainText(toQString(text).replace("\r\n", "\n"));
}

void MainForm::clearDetail() {
    ui_->EDIT20->clear();
}

void MainForm::setEditEnabled(bool enabled) {
    ui_->BUTTON34->setEnabled(enabled);
    ui_->BUTTON34->setToolTip(enabled ? QString() : toQString(editing::kChoosePersonFirst));
}

void MainForm::setFamilyFormAvailable(const std::string& whyNot) {
    setAvailable(*ui_->BUTTON_A8A, whyNot);
}

void MainForm::setChartAvailable(const std::string& whyNot) {
    setAvailable(*ui_->BUTTON39, whyNot);
}

void MainForm::showGuidance(const std::string& text) {
    setGuidance(*ui_->guidanceLabel, text);
}

std::string MainForm::guidance() const {
    return platform::toUtf8(ui_->guidanceLabel->text());
}

void MainForm::showUndo(const editing::UndoView& view) {
    showUndoButtons(*ui_->undoButton, *ui_->redoButton, view);
}

void MainForm::showMode(const editing::ModeCaptions& captions) {
    ui_->BUTTON_A30A->setText(toQString(captions.toggle));
    ui_->TEXT_A15A->setText(toQString(captions.label));
}

} // namespace forms
