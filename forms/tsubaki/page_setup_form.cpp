#include "forms/tsubaki/page_setup_form.h"

#include "platform/qt_text.h"

#include "ui_page_setup_form.h"

#include <algorithm>

using platform::toQString;

namespace forms {

namespace {

// The papers of COMBO_PAPER, in its order.
constexpr render::Paper kPapers[] = {render::Paper::A4, render::Paper::A3, render::Paper::B4,
                                     render::Paper::B5};

} // namespace

PageSetupForm::PageSetupForm(QWidget* parent, const render::PageSetup& defaults, bool listChart)
    : QDialog(parent), ui_(std::make_unique<Ui::PAGESETUP>()), defaults_(defaults) {
    ui_->setupUi(this);
    auto& ui = *ui_;
    ui.LABEL_GUARD->setVisible(listChart);
    for (QDoubleSpinBox* spin : {ui.SPIN_MARGIN_TOP, ui.SPIN_MARGIN_BOTTOM, ui.SPIN_MARGIN_LEFT,
                                 ui.SPIN_MARGIN_RIGHT, ui.SPIN_MIN_FONT}) {
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this] { Q_EMIT setupChanged(); });
    }
    connect(ui.COMBO_PAPER, &QComboBox::currentIndexChanged, this,
            [this] { Q_EMIT setupChanged(); });
    connect(ui.RADIO_LANDSCAPE, &QRadioButton::toggled, this, [this] { Q_EMIT setupChanged(); });
    connect(ui.CHECK_ONE_PAGE, &QCheckBox::toggled, this, [this] { Q_EMIT setupChanged(); });
    connect(ui.BUTTON_RESET, &QPushButton::clicked, this, [this] {
        showSetup(defaults_);
        Q_EMIT setupChanged();
    });
}

PageSetupForm::~PageSetupForm() = default;

void PageSetupForm::showSetup(const render::PageSetup& s) {
    auto& ui = *ui_;
    for (int i = 0; i < 4; ++i) {
        if (kPapers[i] == s.paper) {
            ui.COMBO_PAPER->setCurrentIndex(i);
        }
    }
    ui.RADIO_PORTRAIT->setChecked(s.orientation == render::Orientation::Portrait);
    ui.RADIO_LANDSCAPE->setChecked(s.orientation == render::Orientation::Landscape);
    ui.SPIN_MARGIN_TOP->setValue(s.margins.top);
    ui.SPIN_MARGIN_BOTTOM->setValue(s.margins.bottom);
    ui.SPIN_MARGIN_LEFT->setValue(s.margins.left);
    ui.SPIN_MARGIN_RIGHT->setValue(s.margins.right);
    ui.SPIN_MIN_FONT->setValue(s.minFontPoints);
    ui.CHECK_ONE_PAGE->setChecked(s.onePage);
}

render::PageSetup PageSetupForm::setup() const {
    const auto& ui = *ui_;
    render::PageSetup s = defaults_;
    s.paper = kPapers[std::clamp(ui.COMBO_PAPER->currentIndex(), 0, 3)];
    s.orientation = ui.RADIO_LANDSCAPE->isChecked() ? render::Orientation::Landscape
                                                    : render::Orientation::Portrait;
    s.margins = {ui.SPIN_MARGIN_TOP->value(), ui.SPIN_MARGIN_RIGHT->value(),
                 ui.SPIN_MARGIN_BOTTOM->value(), ui.SPIN_MARGIN_LEFT->value()};
    s.minFontPoints = ui.SPIN_MIN_FONT->value();
    s.onePage = ui.CHECK_ONE_PAGE->isChecked();
    return s;
}

void PageSetupForm::showVerdict(const render::PageSetupVerdict& verdict) {
    auto& ui = *ui_;
    ui.BUTTON_OK->setEnabled(verdict.usable);
    ui.LABEL_SUMMARY->setStyleSheet(verdict.usable ? QString() : QStringLiteral("color: #c00000"));
    if (verdict.text.empty()) {
        ui.LABEL_SUMMARY->clear();
    } else {
        ui.LABEL_SUMMARY->setText(toQString(verdict.text));
    }
}

} // namespace forms
