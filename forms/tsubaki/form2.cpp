#include "forms/tsubaki/form2.h"

#include "ui_form2.h"

#include <utility>

namespace forms {

Form2::Form2(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM2>()) {
    ui_->setupUi(this);
    binding_ = ControlBinding(*this, editing::FamilyControls());
    connectUndoButtons(*ui_->undoButton, *ui_->redoButton, *this, &Form2::undoRequested,
                       &Form2::redoRequested);

    using E = editing::EventCode;
    const std::pair<QAbstractButton*, E> clicks[] = {
        {ui_->BUTTON_A9A, E::BUTTON_A9A_ON},   // "当事者入力へ"
        {ui_->BUTTON_A5A, E::BUTTON_A5A_ON},   // "新規追加"
        {ui_->BUTTON_A7A, E::BUTTON_A7A_ON},   // "データをファイルに保存"
        {ui_->BUTTON_A14A, E::BUTTON_A14A_ON}, // "削除"
        {ui_->BUTTON_A16A, E::BUTTON_A16A_ON}, // "終　了"
        {ui_->BUTTON_A28A, E::BUTTON_A28A_ON}, // "名前で検索"
        {ui_->BUTTON_A29A, E::BUTTON_A29A_ON}, // "次を検索"
        {ui_->BUTTON_A21A, E::BUTTON_A21A_ON}, // "作図開始"
    };
    for (const auto& [button, code] : clicks) {
        connect(button, &QAbstractButton::clicked, this,
                [this, raised = code] { Q_EMIT eventRaised(raised); });
    }
    // A family chosen by click or keyboard, never twice for one choice.
    connect(ui_->LIST_A3A, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            Q_EMIT eventRaised(E::LIST_A3A_CLICK);
        }
    });
    connect(ui_->LIST_A3A, &QListWidget::itemClicked, this, [this] { Q_EMIT familyClicked(); });
    connect(ui_->COMBO_A5A, &QComboBox::activated, this,
            [this](int) { Q_EMIT eventRaised(E::COMBO_A5A_CHANGE); });
    connect(ui_->BUTTON50, &QAbstractButton::clicked, this, [this] { Q_EMIT backupRequested(); });
}

Form2::~Form2() = default;

void Form2::showUndo(const editing::UndoView& view) {
    showUndoButtons(*ui_->undoButton, *ui_->redoButton, view);
}

} // namespace forms
