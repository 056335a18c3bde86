// PAGESETUP, "用紙設定": the paper of the chart window's printing and PDF (COMBO_PAPER A4, A3,
// B4, B5; RADIO_PORTRAIT, RADIO_LANDSCAPE; the margins SPIN_MARGIN_TOP, SPIN_MARGIN_BOTTOM,
// SPIN_MARGIN_LEFT, SPIN_MARGIN_RIGHT; the smallest legible text SPIN_MIN_FONT;
// CHECK_ONE_PAGE), the list chart's note LABEL_GUARD, what the setup gives LABEL_SUMMARY,
// BUTTON_RESET, BUTTON_OK and BUTTON_CANCEL.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class PAGESETUP;
}

namespace forms {

class PageSetupForm : public QDialog {
    Q_OBJECT
public:
    explicit PageSetupForm(QWidget* parent = nullptr);
    ~PageSetupForm() override;

    // The controls, by their names.
    Ui::PAGESETUP& ui() const { return *ui_; }

private:
    std::unique_ptr<Ui::PAGESETUP> ui_;
};

} // namespace forms
