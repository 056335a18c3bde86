#include "forms/tsubaki/form6.h"

#include "platform/qt_text.h"

#include "ui_form6.h"

#include <utility>

using platform::toQString;

namespace forms {

namespace {

void showItems(QComboBox* combo, const std::vector<std::string>& items) {
    combo->clear();
    for (const auto& item : items) {
        combo->addItem(toQString(item));
    }
}

} // namespace

Form6::Form6(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM6>()) {
    ui_->setupUi(this);
    // The candidate list of the child entry opens with "子供の追加".
    ui_->LIST_A4A->hide();
    ui_->TEXT32->hide();
    // Typed titles are stored by their "登録" buttons, never added to the offered entries.
    for (QComboBox* combo : {ui_->COMBO6, ui_->COMBO7, ui_->COMBO_A3A}) {
        combo->setInsertPolicy(QComboBox::NoInsert);
    }
    binding_ = ControlBinding(*this, editing::FamilyControls());
    connectUndoButtons(*ui_->undoButton, *ui_->redoButton, *this, &Form6::undoRequested,
                       &Form6::redoRequested);

    using E = editing::EventCode;
    const std::pair<QAbstractButton*, E> clicks[] = {
        {ui_->BUTTON_A6A, E::BUTTON_A6A_ON},   // "リスト登録"
        {ui_->CHECK_A2A, E::CHECK_A2A_ON},     // "離婚"
        {ui_->BUTTON_A13A, E::BUTTON_A13A_ON}, // "夫婦確定"
        {ui_->BUTTON_A10A, E::BUTTON_A10A_ON}, // "上に移動"
        {ui_->BUTTON_A11A, E::BUTTON_A11A_ON}, // "下に移動"
        {ui_->BUTTON_A12A, E::BUTTON_A12A_ON}, // "上下並べ替え"
        {ui_->BUTTON_A17A, E::BUTTON_A17A_ON}, // "子の削除"
        {ui_->BUTTON_A20A, E::BUTTON_A20A_ON}, // "登録" (child title)
        {ui_->CHECK_A4A, E::CHECK_A4A_ON},     // "認　知"
        {ui_->BUTTON_A18A, E::BUTTON_A18A_ON}, // "原因日付を書き込む" (adoption)
        {ui_->BUTTON_A19A, E::BUTTON_A19A_ON}, // "原因日付を書き込む" (acknowledgment)
        {ui_->CHECK_A1A, E::CHECK_A1A_ON},     // "非婚姻関係"
        {ui_->CHECK_A5A, E::CHECK_A5A_ON},     // "子孫フラッグ"
        {ui_->CHECK_A21A, E::CHECK_A21A_ON},   // "配偶者を非表示にする"
        {ui_->BUTTON36, E::BUTTON36_ON},       // "原因日付を書き込む" (divorce)
        {ui_->RADIO_A1A, E::RADIO_A1A_ON},     // "未設定"
        {ui_->RADIO_A2A, E::RADIO_A2A_ON},     // "父系"
        {ui_->RADIO_A7A, E::RADIO_A7A_ON},     // "母系"
        {ui_->BUTTON42, E::COMBO6_CHANGE},     // "登録" (husband title)
        {ui_->BUTTON43, E::COMBO7_CHANGE},     // "登録" (wife title)
        {ui_->CHECK44, E::CHECK44_ON},         // "配偶者の姓を非表示にする"
        {ui_->CHECK50, E::CHECK50_ON},         // "世帯主を非表示にする"
    };
    for (const auto& [button, code] : clicks) {
        connect(button, &QAbstractButton::clicked, this,
                [this, raised = code] { Q_EMIT eventRaised(raised); });
    }
    // A child chosen by click or keyboard, never twice for one choice.
    connect(ui_->LIST_A2A, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            Q_EMIT eventRaised(E::LIST_A2A_CLICK);
        }
    });
    connect(ui_->COMBO6, &QComboBox::activated, this,
            [this](int) { Q_EMIT eventRaised(E::COMBO6_CHANGE); });
    connect(ui_->COMBO7, &QComboBox::activated, this,
            [this](int) { Q_EMIT eventRaised(E::COMBO7_CHANGE); });
    connect(ui_->BUTTON_A4A, &QAbstractButton::clicked, this,
            [this] { Q_EMIT childSelectionButtonClicked(); });
    connect(ui_->LIST_A4A, &QListWidget::currentRowChanged, this,
            [this](int row) { Q_EMIT candidateChosen(row); });
}

Form6::~Form6() = default;

void Form6::showUndo(const editing::UndoView& view) {
    showUndoButtons(*ui_->undoButton, *ui_->redoButton, view);
}

void Form6::showTitleChoices(const std::vector<std::string>& husbands,
                             const std::vector<std::string>& wives) {
    showItems(ui_->COMBO6, husbands);
    showItems(ui_->COMBO7, wives);
}

} // namespace forms
