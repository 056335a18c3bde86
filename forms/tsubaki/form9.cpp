#include "forms/tsubaki/form9.h"

#include "platform/qt_text.h"

#include "ui_form9.h"

#include <QSignalBlocker>

using platform::toQString;

namespace forms {

Form9::Form9(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM9>()) {
    ui_->setupUi(this);
    // The list acts on a click or on Enter, once while the dialog is open.
    auto choose = [this] {
        if (isVisible()) {
            Q_EMIT eventRaised(editing::EventCode::LIST7_CLICK);
        }
    };
    connect(ui_->LIST7, &QListWidget::itemClicked, this, choose);
    connect(ui_->LIST7, &QListWidget::itemActivated, this, choose);
    connect(ui_->BUTTON41, &QAbstractButton::clicked, this, [this] { Q_EMIT cancelRequested(); });
}

Form9::~Form9() = default;

void Form9::showCandidates(const std::vector<std::string>& lines) {
    const QSignalBlocker quiet(ui_->LIST7);
    ui_->LIST7->clear();
    for (const auto& line : lines) {
        ui_->LIST7->addItem(toQString(line));
    }
}

int Form9::chosenEntry() const {
    return ui_->LIST7->currentRow();
}

} // namespace forms
