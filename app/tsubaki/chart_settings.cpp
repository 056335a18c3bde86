#include "app/tsubaki/chart_settings.h"

#include "editing/family_lists.h"
#include "forms/tsubaki/form4.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>

#include "ui_form4.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

using platform::toQString;
using platform::toUtf8;

namespace app {

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

// "テキスト化の際のラインの扱い", in the order of the stored values 1 to 5.
std::array<QRadioButton*, 5> lineRadios(Ui::FORM4& ui) {
    return {ui.RADIO8, ui.RADIO9, ui.RADIO10, ui.RADIO11, ui.RADIO12};
}

// Checks one radio button of an exclusive pair or group, or none (value outside the group).
void checkOnly(QRadioButton* const* radios, int count, int which) {
    for (int i = 0; i < count; ++i) {
        radios[i]->setAutoExclusive(false);
    }
    for (int i = 0; i < count; ++i) {
        radios[i]->setChecked(i == which);
    }
    for (int i = 0; i < count; ++i) {
        radios[i]->setAutoExclusive(true);
    }
}

std::string text(const QLineEdit* edit) {
    return toUtf8(edit->text());
}

} // namespace

std::string fieldNumber(float value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e9f) {
        return std::to_string(static_cast<long long>(value));
    }
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

std::optional<float> parseFieldNumber(const std::string& s) {
    // Full-width digits, signs and points typed with the Japanese input become ASCII.
    const QString normal = toQString(s).normalized(QString::NormalizationForm_KC);
    bool ok = false;
    const float v = normal.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

ChartSettingsForm::ChartSettingsForm(forms::Form4& form, core::DataFolder& data)
    : form_(form), data_(data) {}

bool ChartSettingsForm::vertical() const {
    return form_.ui().RADIO_A5A->isChecked();
}

void ChartSettingsForm::load(const core::DrawingSettings& s) {
    auto& ui = form_.ui();
    QRadioButton* const direction[] = {ui.RADIO_A5A, ui.RADIO_A6A};
    checkOnly(direction, 2, s.縦書き ? 0 : 1);
    ui.EDIT_A17A->setText(toQString(fieldNumber(s.最下層部を広げる値)));
    ui.EDIT21->setText(toQString(fieldNumber(s.名前の字下げ)));
    ui.EDIT22->setText(toQString(fieldNumber(std::clamp(s.生年月日の字下げ, 0.0f, 15.0f))));
    ui.COMBO_A4A->setCurrentIndex(std::clamp<int>(s.漢数字の設定, 0, 2));
    for (const auto& c : kChecks) {
        (ui.*c.box)->setChecked(s.*c.value);
    }
    ui.CHECK46->setEnabled(s.法定相続情報一覧図_enabled);
    checkOnly(lineRadios(ui).data(), 5, s.テキスト罫線 - 1);
}

void ChartSettingsForm::showVerticalControls(bool vertical, bool childOrderInEitherMode) {
    auto& ui = form_.ui();
    ui.labelKanjiNumerals->setVisible(vertical);
    ui.COMBO_A4A->setVisible(vertical);
    if (vertical) {
        if (childOrderInEitherMode || data_.env.Mode == 1) {
            ui.CHECK_A16A->show();
            if (!data_.settingsFilePresent) {
                ui.CHECK_A16A->setChecked(true);
            }
        }
    } else {
        ui.CHECK_A16A->hide();
        ui.CHECK_A16A->setChecked(false);
    }
    // Text drawings are made of horizontal writing only.
    ui.BUTTON37->setEnabled(!vertical);
    ui.GROUP3->setEnabled(!vertical);
    for (int i = 0; i < 5; ++i) {
        lineRadios(ui)[i]->setEnabled(!vertical);
    }
}

void ChartSettingsForm::setFieldLabelStates() {
    auto& ui = form_.ui();
    ui.CHECK_A23A->setEnabled(ui.CHECK_A11A->isChecked());
    ui.CHECK24->setEnabled(ui.CHECK_A6A->isChecked());
    ui.CHECK25->setEnabled(ui.CHECK_A9A->isChecked());
}

void ChartSettingsForm::prepare() {
    auto& ui = form_.ui();
    const bool vertical = ui.RADIO_A5A->isChecked() || !ui.RADIO_A6A->isChecked();
    showVerticalControls(vertical, false);
    for (QCheckBox* box : {ui.CHECK_A6A, ui.CHECK_A7A, ui.CHECK_A8A, ui.CHECK_A9A, ui.CHECK_A10A,
                           ui.CHECK_A11A, ui.CHECK_A12A, ui.CHECK_A13A, ui.CHECK_A23A}) {
        box->setEnabled(true);
    }
    if (data_.env.Mode != 1) {
        // The simplified mode shows neither domicile, address nor acknowledgment, and
        // draws no legal chart.
        for (QCheckBox* box : {ui.CHECK_A6A, ui.CHECK_A9A, ui.CHECK_A10A, ui.CHECK_A18A}) {
            box->setChecked(false);
            box->setEnabled(false);
        }
        if (!data_.settingsFilePresent) {
            ui.CHECK_A16A->setChecked(false);
            ui.CHECK_A17A->setChecked(true);
        }
    } else {
        ui.CHECK_A18A->setEnabled(true);
        if (!data_.settingsFilePresent) {
            ui.CHECK_A17A->setChecked(false);
        }
    }
    QRadioButton* const direction[] = {ui.RADIO_A5A, ui.RADIO_A6A};
    checkOnly(direction, 2, vertical ? 0 : 1);
    ui.RADIO_A5A->setEnabled(true);
    ui.RADIO_A6A->setEnabled(true);
    const core::DrawingSettings& s = data_.settings;
    ui.EDIT_A12A->setText(toQString(fieldNumber(s.FONT_SIZE)));
    ui.EDIT_A13A->setText(toQString(fieldNumber(s.行間)));
    ui.EDIT_A14A->setText(toQString(fieldNumber(s.字間)));
    ui.EDIT_A16A->setText(toQString(fieldNumber(s.ラインの太さ)));
    setFieldLabelStates();
}

void ChartSettingsForm::storeControls(core::DrawingSettings& s) const {
    auto& ui = form_.ui();
    s.縦書き = ui.RADIO_A5A->isChecked();
    s.横書き = ui.RADIO_A6A->isChecked();
    s.漢数字の設定 = static_cast<std::int16_t>(std::clamp(ui.COMBO_A4A->currentIndex(), 0, 2));
    for (const auto& c : kChecks) {
        s.*c.value = (ui.*c.box)->isChecked();
    }
    s.法定相続情報一覧図_enabled = ui.CHECK46->isEnabled();
    for (int i = 0; i < 5; ++i) {
        if (lineRadios(ui)[i]->isChecked()) {
            s.テキスト罫線 = static_cast<std::int16_t>(i + 1);
        }
    }
    if (const auto v = parseFieldNumber(text(ui.EDIT_A17A)); v && *v >= 0) {
        s.最下層部を広げる値 = *v;
    }
    if (const auto v = parseFieldNumber(text(ui.EDIT21))) {
        s.名前の字下げ = *v;
    }
    if (const auto v = parseFieldNumber(text(ui.EDIT22))) {
        s.生年月日の字下げ = std::clamp(*v, 0.0f, 15.0f);
    }
}

std::optional<std::string> ChartSettingsForm::storeRun(core::DrawingSettings& s) {
    auto& ui = form_.ui();
    // Fields that must hold a number, with their captions and ranges.
    struct NumberField {
        QLineEdit* edit;
        const char* caption;
        float low;
        float high;
    };
    const NumberField fields[] = {
        {ui.EDIT_A13A, "行の間隔", 0, 500},
        {ui.EDIT_A14A, "文字間隔", 0, 500},
        {ui.EDIT_A17A, "最下層部を広げる値", 0, 100},
        {ui.EDIT21, "名前の字下げ値", 0, 50},
        {ui.EDIT22, "生年月日の字下げ値", -1e9f, 1e9f},
    };
    for (const auto& f : fields) {
        const auto v = parseFieldNumber(text(f.edit));
        if (!v || *v < f.low || *v > f.high) {
            std::string range = f.high >= 1e9f ? ""
                                               : "（" + fieldNumber(f.low) + " から " +
                                                     fieldNumber(f.high) + " まで）";
            return "「" + std::string(f.caption) + "」の値「" + text(f.edit) +
                   "」は使えません。数を入れてください" + range + "。";
        }
    }
    storeControls(s);
    if (const auto v = parseFieldNumber(text(ui.EDIT_A12A)); v && *v > 0) {
        s.FONT_SIZE = *v;
    }
    s.行間 = *parseFieldNumber(text(ui.EDIT_A13A));
    s.字間 = *parseFieldNumber(text(ui.EDIT_A14A));
    const auto thickness = parseFieldNumber(text(ui.EDIT_A16A));
    s.ラインの太さ = thickness && *thickness > 0 ? *thickness : 1;
    s.最下層部を広げる値 = *parseFieldNumber(text(ui.EDIT_A17A));
    s.名前の字下げ = *parseFieldNumber(text(ui.EDIT21));
    s.生年月日の字下げ = std::clamp(*parseFieldNumber(text(ui.EDIT22)), 0.0f, 15.0f);
    ui.EDIT22->setText(toQString(fieldNumber(s.生年月日の字下げ)));
    return std::nullopt;
}

void ChartSettingsForm::showHiddenFamilies(int baseFamily) {
    auto* list = form_.ui().LIST_A5A;
    const QSignalBlocker block(list);
    const auto& entries = data_.settings.familyEntries;
    for (int i = 0; i < list->count(); ++i) {
        const bool hidden = static_cast<std::size_t>(i) < entries.size() &&
                            entries[static_cast<std::size_t>(i)].selected == 1 &&
                            i + 1 != baseFamily;
        list->item(i)->setSelected(hidden);
    }
}

void ChartSettingsForm::fillHiddenFamilies(int baseFamily) {
    auto& entries = data_.settings.familyEntries;
    const int count = data_.reg.familyCount();
    entries.resize(static_cast<std::size_t>(count));
    auto* list = form_.ui().LIST_A5A;
    const QSignalBlocker block(list);
    list->clear();
    for (int f = 1; f <= count; ++f) {
        const std::string line = editing::familyListLine(data_.reg, f);
        core::FamilyEntry& e = entries[static_cast<std::size_t>(f - 1)];
        if (e.text != line) {
            e.selected = 0; // the family changed since it was hidden
            e.text = line;
        }
        if (f == baseFamily) {
            e.selected = 0;
        }
        list->addItem(toQString(line));
    }
    showHiddenFamilies(baseFamily);
}

void ChartSettingsForm::readHiddenFamilies(int baseFamily) {
    auto* list = form_.ui().LIST_A5A;
    auto& entries = data_.settings.familyEntries;
    entries.resize(static_cast<std::size_t>(std::max(list->count(), data_.reg.familyCount())));
    for (int i = 0; i < list->count(); ++i) {
        const bool hidden = list->item(i)->isSelected() && i + 1 != baseFamily;
        entries[static_cast<std::size_t>(i)].selected = hidden ? 1 : 0;
    }
    showHiddenFamilies(baseFamily);
}

void ChartSettingsForm::selectAllFamilies(int baseFamily) {
    auto& entries = data_.settings.familyEntries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].selected = static_cast<int>(i) + 1 == baseFamily ? 0 : 1;
    }
    showHiddenFamilies(baseFamily);
}

void ChartSettingsForm::clearFamilies() {
    for (auto& e : data_.settings.familyEntries) {
        e.selected = 0;
    }
    showHiddenFamilies(0);
}

void ChartSettingsForm::verticalClicked() {
    auto& ui = form_.ui();
    showVerticalControls(true, true);
    // The statutory list chart is drawn in horizontal writing only.
    ui.CHECK46->setChecked(false);
    ui.CHECK46->setEnabled(false);
    ui.CHECK_A18A->setEnabled(true);
}

void ChartSettingsForm::horizontalClicked() {
    auto& ui = form_.ui();
    showVerticalControls(false, false);
    ui.CHECK46->setEnabled(true);
    ui.CHECK_A18A->setEnabled(true);
}

void ChartSettingsForm::fieldClicked(const char* field) {
    auto& ui = form_.ui();
    const std::string name(field);
    QCheckBox* box = name == "CHECK_A6A"   ? ui.CHECK_A6A
                     : name == "CHECK_A9A" ? ui.CHECK_A9A
                                           : ui.CHECK_A11A;
    QCheckBox* dependent = name == "CHECK_A6A"   ? ui.CHECK24
                           : name == "CHECK_A9A" ? ui.CHECK25
                                                 : ui.CHECK_A23A;
    dependent->setChecked(false);
    dependent->setEnabled(box->isChecked());
}

void ChartSettingsForm::legalFormClicked(const char* box) {
    auto& ui = form_.ui();
    if (std::string(box) == "CHECK46") {
        ui.CHECK_A18A->setChecked(false);
    } else {
        ui.CHECK46->setChecked(false);
    }
}

} // namespace app
