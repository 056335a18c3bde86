#include "forms/tsubaki/form4.h"

#include "platform/qt_text.h"

#include "ui_form4.h"

#include <QSignalBlocker>

#include <array>
#include <utility>

using platform::toQString;
using platform::toUtf8;

namespace forms {

namespace {

// The check boxes held in the settings, with their members.
struct CheckBinding {
    QCheckBox* Ui::FORM4::*box;
    bool core::DrawingSettings::*value;
};

constexpr CheckBinding kChecks[] = {
    {&Ui::FORM4::CHECK_A6A, &core::DrawingSettings::本籍欄},
    {&Ui::FORM4::CHECK_A7A, &core::DrawingSettings::備考欄１},
    {&Ui::FORM4::CHECK_A8A, &core::DrawingSettings::備考欄２},
    {&Ui::FORM4::CHECK_A9A, &core::DrawingSettings::住所欄},
    {&Ui::FORM4::CHECK_A10A, &core::DrawingSettings::認知欄},
    {&Ui::FORM4::CHECK_A11A, &core::DrawingSettings::離婚_養子縁組欄},
    {&Ui::FORM4::CHECK_A12A, &core::DrawingSettings::死亡年月日欄},
    {&Ui::FORM4::CHECK_A13A, &core::DrawingSettings::生年月日欄},
    {&Ui::FORM4::CHECK_A14A, &core::DrawingSettings::本家と同じ名字は省略する},
    {&Ui::FORM4::CHECK_A15A, &core::DrawingSettings::子孫以外は女性主体で作図},
    {&Ui::FORM4::CHECK_A16A, &core::DrawingSettings::子供の表示を右順にする},
    {&Ui::FORM4::CHECK_A17A, &core::DrawingSettings::同一人物を繋ぐ},
    {&Ui::FORM4::CHECK_A18A, &core::DrawingSettings::相続関係説明図にする},
    {&Ui::FORM4::CHECK_A19A, &core::DrawingSettings::家族No表示},
    {&Ui::FORM4::CHECK_A20A, &core::DrawingSettings::当事者No表示},
    {&Ui::FORM4::CHECK_A22A, &core::DrawingSettings::系図毎に区切る},
    {&Ui::FORM4::CHECK_A23A, &core::DrawingSettings::離婚年月日非表示},
    {&Ui::FORM4::CHECK24, &core::DrawingSettings::本籍欄に_本籍_と入れる},
    {&Ui::FORM4::CHECK25, &core::DrawingSettings::住所欄に_住所_と入れる},
    {&Ui::FORM4::CHECK26, &core::DrawingSettings::氏名を１文字間隔で表示},
    {&Ui::FORM4::CHECK36, &core::DrawingSettings::姓と名の間に___を付ける},
    {&Ui::FORM4::CHECK40, &core::DrawingSettings::当事者リンク元に統一},
    {&Ui::FORM4::CHECK43, &core::DrawingSettings::非婚姻関係を強制表示},
    {&Ui::FORM4::CHECK46, &core::DrawingSettings::法定相続情報一覧図にする},
};

// The check boxes whose states the rules decide, with their places in the rules' states.
struct RuledBox {
    QCheckBox* Ui::FORM4::*box;
    editing::SettingsBox editing::SettingsControls::*state;
};

constexpr RuledBox kRuledBoxes[] = {
    {&Ui::FORM4::CHECK_A6A, &editing::SettingsControls::domicile},
    {&Ui::FORM4::CHECK_A7A, &editing::SettingsControls::remarks1},
    {&Ui::FORM4::CHECK_A8A, &editing::SettingsControls::remarks2},
    {&Ui::FORM4::CHECK_A9A, &editing::SettingsControls::address},
    {&Ui::FORM4::CHECK_A10A, &editing::SettingsControls::acknowledgment},
    {&Ui::FORM4::CHECK_A11A, &editing::SettingsControls::divorce},
    {&Ui::FORM4::CHECK_A12A, &editing::SettingsControls::deathDate},
    {&Ui::FORM4::CHECK_A13A, &editing::SettingsControls::birthDate},
    {&Ui::FORM4::CHECK_A23A, &editing::SettingsControls::divorceDate},
    {&Ui::FORM4::CHECK24, &editing::SettingsControls::domicileLabel},
    {&Ui::FORM4::CHECK25, &editing::SettingsControls::addressLabel},
    {&Ui::FORM4::CHECK_A16A, &editing::SettingsControls::childOrder},
    {&Ui::FORM4::CHECK_A17A, &editing::SettingsControls::linkSame},
    {&Ui::FORM4::CHECK_A18A, &editing::SettingsControls::explanation},
    {&Ui::FORM4::CHECK46, &editing::SettingsControls::listChart},
};

// The number fields, with their places in the typed fields.
struct NumberField {
    QLineEdit* Ui::FORM4::*edit;
    std::string editing::SettingsFields::*text;
};

constexpr NumberField kNumberFields[] = {
    {&Ui::FORM4::EDIT_A12A, &editing::SettingsFields::fontSize},
    {&Ui::FORM4::EDIT_A13A, &editing::SettingsFields::lineSpacing},
    {&Ui::FORM4::EDIT_A14A, &editing::SettingsFields::charSpacing},
    {&Ui::FORM4::EDIT_A16A, &editing::SettingsFields::lineThickness},
    {&Ui::FORM4::EDIT_A17A, &editing::SettingsFields::bottomSpread},
    {&Ui::FORM4::EDIT21, &editing::SettingsFields::nameIndent},
    {&Ui::FORM4::EDIT22, &editing::SettingsFields::birthIndent},
};

// "テキスト化の際のラインの扱い", in the order of the stored values 1 to 5.
std::array<QRadioButton*, 5> lineRadios(const Ui::FORM4& ui) {
    return {ui.RADIO8, ui.RADIO9, ui.RADIO10, ui.RADIO11, ui.RADIO12};
}

// Ticks one radio button of an exclusive pair or group, or none (value outside the group).
template <std::size_t N> void checkOnly(const std::array<QRadioButton*, N>& radios, int which) {
    for (QRadioButton* r : radios) {
        r->setAutoExclusive(false);
    }
    for (std::size_t i = 0; i < N; ++i) {
        radios[i]->setChecked(static_cast<int>(i) == which);
    }
    for (QRadioButton* r : radios) {
        r->setAutoExclusive(true);
    }
}

// A widget's own enabled state, whatever its parents'.
bool ownEnabled(const QWidget* w) {
    return !w->testAttribute(Qt::WA_ForceDisabled);
}

void enableIfChanged(QWidget* w, bool enabled) {
    if (ownEnabled(w) != enabled) {
        w->setEnabled(enabled);
    }
}

void showIfChanged(QWidget* w, bool shown) {
    if (w->isHidden() == shown) {
        w->setVisible(shown);
    }
}

} // namespace

Form4::Form4(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::FORM4>()) {
    ui_->setupUi(this);
    ui_->COMBO_A4A->addItems({"使わない", "普通の漢数字", "多角数字"});

    using E = editing::EventCode;
    const std::pair<QAbstractButton*, E> clicks[] = {
        {ui_->BUTTON_A31A, E::BUTTON_A31A_ON}, // "全部選択"
        {ui_->BUTTON_A32A, E::BUTTON_A32A_ON}, // "全部解除"
        {ui_->BUTTON_A33A, E::BUTTON_A33A_ON}, // "直系子孫の解除"
        {ui_->BUTTON_A22A, E::BUTTON_A22A_ON}, // "作図実行"
        {ui_->BUTTON_A23A, E::BUTTON_A23A_ON}, // "キャンセル"
        {ui_->BUTTON37, E::BUTTON37_ON},       // "テキスト化"
    };
    for (const auto& [button, code] : clicks) {
        connect(button, &QAbstractButton::clicked, this,
                [this, raised = code] { Q_EMIT eventRaised(raised); });
    }
    connect(ui_->LIST_A5A, &QListWidget::itemSelectionChanged, this,
            [this] { Q_EMIT eventRaised(E::LIST_A5A_CLICK); });
    connect(ui_->BUTTON51, &QAbstractButton::clicked, this, [this] { Q_EMIT backupRequested(); });
    connectDependencies();
}

Form4::~Form4() = default;

void Form4::connectDependencies() {
    // Each rule runs on the states as the click left them.
    auto follow = [this](auto rule) {
        return [this, rule] {
            editing::SettingsControls c = controls();
            rule(c);
            apply(c);
        };
    };
    connect(ui_->RADIO_A5A, &QRadioButton::clicked, this,
            follow([this](auto& c) { editing::verticalChosen(c, context_); }));
    connect(ui_->RADIO_A6A, &QRadioButton::clicked, this,
            follow([](auto& c) { editing::horizontalChosen(c); }));
    using F = editing::LabelledField;
    const std::pair<QCheckBox*, F> fields[] = {
        {ui_->CHECK_A6A, F::Domicile},
        {ui_->CHECK_A9A, F::Address},
        {ui_->CHECK_A11A, F::Divorce},
    };
    for (const auto& [box, field] : fields) {
        connect(box, &QCheckBox::clicked, this,
                follow([f = field](auto& c) { editing::labelledFieldClicked(c, f); }));
    }
    using L = editing::LegalChartBox;
    connect(ui_->CHECK_A18A, &QCheckBox::clicked, this,
            follow([](auto& c) { editing::legalChartClicked(c, L::Explanation); }));
    connect(ui_->CHECK46, &QCheckBox::clicked, this,
            follow([](auto& c) { editing::legalChartClicked(c, L::List); }));
}

void Form4::showStartValues(const core::DrawingSettings& defaults) {
    checkOnly(lineRadios(*ui_), defaults.テキスト罫線 - 1);
    ui_->EDIT21->setText(toQString(editing::fieldNumber(defaults.名前の字下げ)));
    ui_->EDIT22->setText(toQString(editing::fieldNumber(defaults.生年月日の字下げ)));
}

void Form4::load(const core::DrawingSettings& s) {
    auto& ui = *ui_;
    checkOnly(std::array{ui.RADIO_A5A, ui.RADIO_A6A}, s.縦書き ? 0 : 1);
    const editing::SettingsFields fields = editing::settingsFields(s);
    for (const auto& f : kNumberFields) {
        (ui.*f.edit)->setText(toQString(fields.*f.text));
    }
    ui.COMBO_A4A->setCurrentIndex(editing::numeralStyle(s.漢数字の設定));
    for (const auto& c : kChecks) {
        (ui.*c.box)->setChecked(s.*c.value);
    }
    ui.CHECK46->setEnabled(s.法定相続情報一覧図_enabled);
    checkOnly(lineRadios(ui), s.テキスト罫線 - 1);
}

void Form4::prepare(const editing::SettingsDialogContext& context) {
    context_ = context;
    editing::SettingsControls c = controls();
    editing::prepareControls(c, context_);
    apply(c);
}

editing::SettingsControls Form4::controls() const {
    const auto& ui = *ui_;
    editing::SettingsControls c;
    c.verticalTicked = ui.RADIO_A5A->isChecked();
    c.horizontalTicked = ui.RADIO_A6A->isChecked();
    c.directionEnabled = ownEnabled(ui.RADIO_A5A) && ownEnabled(ui.RADIO_A6A);
    c.numeralsShown = !ui.COMBO_A4A->isHidden();
    c.childOrderShown = !ui.CHECK_A16A->isHidden();
    c.textDrawingEnabled = ownEnabled(ui.BUTTON37);
    for (const auto& r : kRuledBoxes) {
        const QCheckBox* box = ui.*r.box;
        c.*r.state = {box->isChecked(), ownEnabled(box)};
    }
    return c;
}

void Form4::apply(const editing::SettingsControls& c) {
    auto& ui = *ui_;
    if (ui.RADIO_A5A->isChecked() != c.verticalTicked ||
        ui.RADIO_A6A->isChecked() != c.horizontalTicked) {
        checkOnly(std::array{ui.RADIO_A5A, ui.RADIO_A6A}, c.verticalTicked ? 0 : 1);
    }
    enableIfChanged(ui.RADIO_A5A, c.directionEnabled);
    enableIfChanged(ui.RADIO_A6A, c.directionEnabled);
    showIfChanged(ui.labelKanjiNumerals, c.numeralsShown);
    showIfChanged(ui.COMBO_A4A, c.numeralsShown);
    showIfChanged(ui.CHECK_A16A, c.childOrderShown);
    enableIfChanged(ui.BUTTON37, c.textDrawingEnabled);
    ui.BUTTON37->setToolTip(toQString(editing::textDrawingWhyNot(c)));
    enableIfChanged(ui.GROUP3, c.textDrawingEnabled);
    for (QRadioButton* r : lineRadios(ui)) {
        enableIfChanged(r, c.textDrawingEnabled);
    }
    for (const auto& r : kRuledBoxes) {
        QCheckBox* box = ui.*r.box;
        box->setChecked((c.*r.state).checked);
        enableIfChanged(box, (c.*r.state).enabled);
    }
}

void Form4::storeChoices(core::DrawingSettings& s) const {
    const auto& ui = *ui_;
    s.縦書き = ui.RADIO_A5A->isChecked();
    s.横書き = ui.RADIO_A6A->isChecked();
    s.漢数字の設定 = static_cast<std::int16_t>(editing::numeralStyle(ui.COMBO_A4A->currentIndex()));
    for (const auto& c : kChecks) {
        s.*c.value = (ui.*c.box)->isChecked();
    }
    s.法定相続情報一覧図_enabled = ui.CHECK46->isEnabled();
    const auto radios = lineRadios(ui);
    for (std::size_t i = 0; i < radios.size(); ++i) {
        if (radios[i]->isChecked()) {
            s.テキスト罫線 = static_cast<std::int16_t>(i + 1);
        }
    }
}

editing::SettingsFields Form4::fields() const {
    editing::SettingsFields fields;
    for (const auto& f : kNumberFields) {
        fields.*f.text = toUtf8((ui_.get()->*f.edit)->text());
    }
    return fields;
}

void Form4::showBirthDateIndent(float indent) {
    ui_->EDIT22->setText(toQString(editing::fieldNumber(indent)));
}

void Form4::showFamilies(const std::vector<std::string>& lines) {
    const QSignalBlocker block(ui_->LIST_A5A);
    ui_->LIST_A5A->clear();
    for (const auto& line : lines) {
        ui_->LIST_A5A->addItem(toQString(line));
    }
}

void Form4::selectFamilies(const std::vector<bool>& selected) {
    QListWidget* list = ui_->LIST_A5A;
    const QSignalBlocker block(list);
    for (int i = 0; i < list->count() && static_cast<std::size_t>(i) < selected.size(); ++i) {
        list->item(i)->setSelected(selected[static_cast<std::size_t>(i)]);
    }
}

std::vector<bool> Form4::selectedFamilies() const {
    std::vector<bool> selected;
    for (int i = 0; i < ui_->LIST_A5A->count(); ++i) {
        selected.push_back(ui_->LIST_A5A->item(i)->isSelected());
    }
    return selected;
}

void Form4::clickWritingDirection(bool vertical) {
    (vertical ? ui_->RADIO_A5A : ui_->RADIO_A6A)->click();
}

} // namespace forms
