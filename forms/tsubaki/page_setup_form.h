// PAGESETUP, "用紙設定": the paper of the chart window's printing and PDF for one kind of chart
// (COMBO_PAPER A4, A3, B4, B5; RADIO_PORTRAIT, RADIO_LANDSCAPE; the margins SPIN_MARGIN_TOP,
// SPIN_MARGIN_BOTTOM, SPIN_MARGIN_LEFT, SPIN_MARGIN_RIGHT; the smallest legible text
// SPIN_MIN_FONT; CHECK_ONE_PAGE), the list chart's note LABEL_GUARD, the line on what the
// setup gives LABEL_SUMMARY, BUTTON_RESET, BUTTON_OK and BUTTON_CANCEL.
//
// The form owns its controls: it shows a render::PageSetup and gives back the one its
// controls hold. Every change of a control raises setupChanged(); "初期値に戻す" shows the
// defaults it was made with, then raises it once more.
#pragma once

#include "render/page_setup.h"
#include "render/page_setup_summary.h"

#include <QDialog>

#include <memory>

namespace Ui {
class PAGESETUP;
}

namespace forms {

class PageSetupForm : public QDialog {
    Q_OBJECT
public:
    // `defaults` are what "初期値に戻す" gives and what the controls do not hold; the note on
    // the list chart's guard is shown for the list chart only.
    PageSetupForm(QWidget* parent, const render::PageSetup& defaults, bool listChart);
    ~PageSetupForm() override;

    void showSetup(const render::PageSetup& setup);
    // The setup the controls hold, over the defaults.
    render::PageSetup setup() const;
    // The line under the setup (in red for a setup that cannot be used), and whether "OK"
    // can be pressed.
    void showVerdict(const render::PageSetupVerdict& verdict);

Q_SIGNALS:
    void setupChanged();

private:
    std::unique_ptr<Ui::PAGESETUP> ui_;
    render::PageSetup defaults_;
};

} // namespace forms
