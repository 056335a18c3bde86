#include "editing/family_editing.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/text.h"
#include "core/constants.h"
#include "editing/names.h"

#include <algorithm>

namespace editing {

namespace {

using common::Icon;
using core::UnionForm;

// The form of the union that the box "非婚姻関係" stands for.
UnionForm unionForm(bool nonMarital) {
    return nonMarital ? UnionForm::NonMarital : UnionForm::Marriage;
}

constexpr const char* kChartSettingsOpen = "作図設定の画面を開いている間は使えません";
constexpr const char* kWhileChoosing =
    "子供の選択中は使えません（「登録決定」で選択を終えてください）";

// 配偶者非表示_F holds two flags as decimal digits: ones = hide the spouse, tens = hide the
// household head. Only 0, 1, 10 and 11 are written; any other value counts by its digits.
bool spouseHidden(int v) {
    return v > 0 && v % 10 != 0;
}
bool headHidden(int v) {
    return v > 0 && v / 10 % 10 != 0;
}
std::int16_t hiddenFlags(bool spouse, bool head) {
    return static_cast<std::int16_t>((head ? 10 : 0) + (spouse ? 1 : 0));
}

} // namespace

FamilyEditor::FamilyEditor(core::DataFolder& data, common::Dialogs& dialogs)
    : data_(data), dialogs_(dialogs) {}

int FamilyEditor::currentFamily() const {
    return data_.settings.リスト３;
}

void FamilyEditor::setCurrentFamily(int family) {
    data_.settings.リスト３ = static_cast<std::int16_t>(family);
}

bool FamilyEditor::hasFamily() const {
    return currentFamily() >= 1 && currentFamily() <= data_.reg.familyCount();
}

core::家族& FamilyEditor::family() {
    return data_.reg.family(currentFamily());
}

std::string FamilyEditor::name(int person) const {
    return displayName(data_.reg, person);
}

std::optional<std::string> FamilyEditor::typed(std::string_view field, std::string_view text) {
    try {
        std::string converted = common::toFullWidth(text);
        if (common::readsBackUnquoted(converted)) {
            return converted;
        }
        common::STOP_SUB(dialogs_, "入力エラー",
                         "「" + std::string(field) +
                             "」に保存できない文字（改行や制御文字）があります。\n"
                             "その文字を取り除いてから、もう一度登録してください。");
    } catch (const common::Cp932Error& e) {
        common::STOP_SUB(dialogs_, "入力エラー",
                         "「" + std::string(field) + "」に" + e.what() +
                             "。\nこの文字は保存できないので、別の文字に直してから、"
                             "もう一度登録してください。");
    }
    return std::nullopt;
}

void FamilyEditor::refuseAtCapacity(std::string_view what, std::string_view key, int capacity) {
    common::STOP_SUB(dialogs_, "登録数の上限",
                     std::string(what) + "が「" + std::string(core::kEnvironmentFile) + "」の" +
                         std::string(key) + "（" + std::to_string(capacity) +
                         "）に達しているので、これ以上追加できません。\n増やすときは「" +
                         std::string(core::kEnvironmentFile) + "」の" + std::string(key) +
                         "を大きくしてください。");
}

// ---------------------------------------------------------------------------------------
// List fills

void FamilyEditor::fillFamilyList() {
    controls_.setItems("LIST_A3A", familyListLines(data_.reg), currentFamily() - 1);
    updateChartButton();
}

void FamilyEditor::updateChartButton() {
    std::string why;
    if (chartSettingsOpen_) {
        why = kChartSettingsOpen;
    } else if (data_.reg.familyCount() == 0) {
        why = "家族がまだ登録されていません";
    } else {
        for (int f = 1; f <= data_.reg.familyCount(); ++f) {
            if (data_.reg.family(f).夫NO == 0 && data_.reg.family(f).妻NO == 0) {
                why = "夫も妻も登録されていない家族（" + std::to_string(f) +
                      "番）があるので作図できません";
                break;
            }
        }
    }
    controls_.show("BUTTON_A21A");
    controls_.enableUnless("BUTTON_A21A", why);
}

void FamilyEditor::updateDeleteButton() {
    std::string why;
    if (chartSettingsOpen_) {
        why = kChartSettingsOpen;
    } else if (!hasFamily()) {
        why = "削除する家族がありません";
    } else if (family().子数() > 0) {
        why = "子供のいる家族は削除できません（先に子供をすべて削除してください）";
    }
    controls_.show("BUTTON_A14A");
    controls_.enableUnless("BUTTON_A14A", why);
}

void FamilyEditor::fillPersonChoices() {
    // The choices stay on the persons they showed.
    const int hEntry = controls_["COMBO_A1A"].current;
    const int wEntry = controls_["COMBO_A2A"].current;
    const int h = hEntry >= 0 ? husbands_.personAt(hEntry) : -1;
    const int w = wEntry >= 0 ? wives_.personAt(wEntry) : -1;
    husbands_ = editing::husbandChoices(data_.reg);
    wives_ = editing::wifeChoices(data_.reg);
    controls_.setItems("COMBO_A1A", husbands_.items, h >= 0 ? husbands_.entryOf(h) : -1);
    controls_.setItems("COMBO_A2A", wives_.items, w >= 0 ? wives_.entryOf(w) : -1);
}

void FamilyEditor::fillBaseFamilyChoices() {
    auto& base = data_.settings.基準家族;
    const int count = data_.reg.familyCount();
    if (base > count) {
        base = static_cast<std::int16_t>(count);
    }
    controls_.setItems("COMBO_A5A", baseFamilyChoices(data_.reg), base);
}

void FamilyEditor::fillTitleChoices() {
    controls_.setItems("COMBO6", data_.env.夫);
    controls_.setItems("COMBO7", data_.env.妻);
}

// ---------------------------------------------------------------------------------------
// Entering and leaving FORM2

void FamilyEditor::open() {
    if (currentFamily() > data_.reg.familyCount() || currentFamily() < 0) {
        setCurrentFamily(data_.reg.familyCount());
    }
    fillPersonChoices();
    fillTitleChoices();
    fillFamilyList();
    fillBaseFamilyChoices();
    // FORM6's controls always hold the family selected in the list: "新規追加" registers
    // the selected family from them.
    if (hasFamily()) {
        loadFamily();
    }
    updateDeleteButton();
    controls_.show("FORM2");
}

void FamilyEditor::leaveForPersonInput() {
    if (inChildSelection()) {
        leaveChildSelection();
    }
    controls_.hide("FORM6");
    controls_.hide("FORM2");
}

void FamilyEditor::setChartSettingsOpen(bool open) {
    chartSettingsOpen_ = open;
    const std::string title(core::title_text);
    controls_.setText("FORM2", (open ? "基準になる家族の設定" : "家族関連の設定") + title);
    controls_.setText("FORM6", (open ? "家族別の表示設定" : "家族の詳細設定") + title);
    // The buttons of FORM2 that change families are off while the chart settings are open.
    controls_.enable("BUTTON_A5A", !open);
    controls_.enable("BUTTON_A9A", !open && !inChildSelection());
    updateDeleteButton();
    updateChartButton();
    if (open) {
        controls_.disable("COMBO_A1A");
        controls_.disable("COMBO_A2A");
    } else if (hasFamily() && family().夫婦確定_f == 0) {
        controls_.enable("COMBO_A1A");
        controls_.enable("COMBO_A2A");
    }
}

bool FamilyEditor::save() {
    try {
        std::vector<core::Part> parts;
        if (data_.reg.familyCount() > 0) {
            parts.push_back(core::Part::Families);
        }
        if (chartSettingsOpen_) {
            parts.push_back(core::Part::Settings);
        }
        if (!parts.empty()) {
            data_.save(parts);
        }
        guide(kListGuidance, parts.empty() ? "保存する家族がまだありません"
                                           : "家族のデータをファイルに保存しました");
    } catch (const common::FileError& e) {
        common::STOP_SUB(dialogs_, "保存エラー", e.what());
        return false;
    }
    return true;
}

bool FamilyEditor::saveBeforeExit() {
    // Every family in memory is written, whether or not one is selected in the list.
    return save();
}

// ---------------------------------------------------------------------------------------
// New, select, register, confirm

void FamilyEditor::newFamily() {
    const int count = data_.reg.familyCount();
    if (count >= data_.env.最大婚姻数) {
        refuseAtCapacity("家族の数", "最大婚姻数", data_.env.最大婚姻数);
        return;
    }
    if (count == 0) {
        setCurrentFamily(1);
        fillFamilyList();
        controls_.show("FORM6");
    } else {
        if (controls_["LIST_A3A"].current >= 0 && hasFamily()) {
            confirmCouple();
        }
        controls_.show("BUTTON_A13A");
        showChildrenSection(false);
        setCurrentFamily(data_.reg.familyCount() + 1);
        setLineOfDescentRadios(core::Lineage::Unset);
        controls_.uncheck("CHECK_A21A");
    }
    core::家族 f;
    f.婚姻NO = static_cast<std::int16_t>(currentFamily());
    f.夫肩書 = "夫";
    f.妻肩書 = "妻";
    f.配偶者姓F = 0;
    data_.reg.families.push_back(std::move(f));
    loadFamily();
    registerFamily(false);
    updateDeleteButton();
    controls_.show("FORM6");
}

void FamilyEditor::selectFamily() {
    const int entry = controls_["LIST_A3A"].current;
    if (entry < 0 || entry >= data_.reg.familyCount()) {
        return;
    }
    setCurrentFamily(entry + 1);
    loadFamily();
    controls_.show("FORM6");
}

void FamilyEditor::loadFamily() {
    if (!hasFamily()) {
        return;
    }
    if (inChildSelection()) {
        leaveChildSelection();
    }
    auto& f = family();
    controls_["COMBO_A1A"].current = husbands_.entryOf(f.夫NO);
    controls_["COMBO_A2A"].current = wives_.entryOf(f.妻NO);
    f.婚姻NO = static_cast<std::int16_t>(currentFamily());
    updateDeleteButton();
    const bool confirmed = f.夫婦確定_f == 1;
    controls_.show("CHECK_A21A", confirmed);
    controls_.enable("COMBO_A1A", !confirmed && !chartSettingsOpen_);
    controls_.enable("COMBO_A2A", !confirmed && !chartSettingsOpen_);
    showChildrenSection(confirmed);
    controls_.show("BUTTON_A13A", !confirmed);
    setLineOfDescentRadios(f.系統_F);
    controls_.check("CHECK_A21A", spouseHidden(f.配偶者非表示_F));
    controls_.check("CHECK50", headHidden(f.配偶者非表示_F));
    婚姻形態_SUB();
    fillChildList();
    clearChildDetail();
    controls_.setText("COMBO6", f.夫肩書);
    controls_.setText("COMBO7", f.妻肩書);
    controls_.check("CHECK44", f.配偶者姓F != 0);
    controls_["LIST_A3A"].current = currentFamily() - 1;
    guideUnconfirmed();
}

void FamilyEditor::guideUnconfirmed() {
    const auto& f = family();
    if (f.夫婦確定_f == 1) {
        return;
    }
    guide(kDetailGuidance, f.夫NO == 0 && f.妻NO == 0
                               ? "夫か妻を選んで「リスト登録」を押してください"
                               : "子供を追加するには「夫婦確定」を押してください");
}

void FamilyEditor::registerFamily() {
    registerFamily(true);
}

bool FamilyEditor::registerFamily(bool byOwnButton) {
    if (!hasFamily()) {
        return false;
    }
    auto& f = family();
    // An entry the choice does not offer (no entry selected) keeps the stored partner.
    const int hEntry = controls_["COMBO_A1A"].current;
    const int wEntry = controls_["COMBO_A2A"].current;
    const int h = hEntry >= 0 ? husbands_.personAt(hEntry) : f.夫NO;
    const int w = wEntry >= 0 ? wives_.personAt(wEntry) : f.妻NO;

    if (byOwnButton && !(h > 0 && w > 0) && (h > 0 || w > 0)) {
        for (int i = 1; i <= data_.reg.familyCount(); ++i) {
            const auto& other = data_.reg.family(i);
            const bool same =
                h > 0 ? other.夫NO == h && other.妻NO == 0 : other.妻NO == w && other.夫NO == 0;
            if (same) {
                common::STOP_SUB(dialogs_, "独身家族構成の重複エラー",
                                 common::toFullWidth(std::to_string(i)) + "番目に既に登録済です。");
                return false;
            }
        }
    }
    std::optional<std::string> divorceDate;
    if (controls_.checked("CHECK_A2A")) {
        divorceDate = typed("離婚年月日", controls_.text("EDIT_A9A"));
        if (!divorceDate) {
            return false;
        }
    }
    f.夫NO = static_cast<std::int16_t>(h);
    f.妻NO = static_cast<std::int16_t>(w);
    fillFamilyList();
    fillBaseFamilyChoices();
    fillPersonChoices(); // the "♪" marks follow the new partners
    if (controls_.checked("RADIO_A2A")) {
        f.系統_F = core::Lineage::Paternal;
    } else if (controls_.checked("RADIO_A7A")) {
        f.系統_F = core::Lineage::Maternal;
    } else {
        f.系統_F = core::Lineage::Unset;
    }
    if (divorceDate) {
        f.離婚年月日 = *divorceDate;
    }
    婚姻形態_SUB();
    guideUnconfirmed();
    return true;
}

void FamilyEditor::confirmCouple() {
    if (!hasFamily()) {
        return;
    }
    if (family().夫NO == 0 && family().妻NO == 0) {
        const bool chosen = husbands_.personAt(controls_["COMBO_A1A"].current) > 0 ||
                            wives_.personAt(controls_["COMBO_A2A"].current) > 0;
        guide(kDetailGuidance, chosen ? "先に「リスト登録」を押してください"
                                      : "夫か妻を選んで「リスト登録」を押してください");
        return;
    }
    if (!registerFamily(false)) {
        return;
    }
    auto& f = family();
    if (f.夫NO == 0 && f.妻NO == 0) {
        return; // both partners were taken out before confirming
    }
    if (f.夫婦確定_f != 0) {
        return;
    }
    if (!dialogs_.yes("確定確認", "婚姻関係・夫婦名の確定をしてもいいですか", Icon::Question)) {
        return;
    }
    f.形態 = unionForm(controls_.checked("CHECK_A1A"));
    f.夫婦確定_f = 1;
    showChildrenSection(true);
    controls_.hide("BUTTON_A13A");
    controls_.show("CHECK_A21A");
    controls_.disable("COMBO_A1A");
    controls_.disable("COMBO_A2A");
    形態表示_SUB();
    guide(kDetailGuidance, "子供は「子供の追加」で追加できます");
}

// ---------------------------------------------------------------------------------------
// Marriage form and divorce

void FamilyEditor::nonMarriageClicked() {
    if (!hasFamily()) {
        controls_.uncheck("CHECK_A1A");
        return;
    }
    auto& f = family();
    const bool confirmed = f.夫婦確定_f == 1;
    const bool husband = f.夫NO != 0;
    const bool wife = f.妻NO != 0;
    if (!controls_.checked("CHECK_A1A")) {
        if (husband != wife) {
            controls_.check("CHECK_A1A");
            f.形態L3 = UnionForm::NonMarital;
            if (confirmed) {
                controls_.disable("CHECK_A1A");
                f.形態 = UnionForm::NonMarital;
            }
        } else if (husband && wife) {
            const bool married =
                dialogs_.yes("婚姻の確認", "本当に二人は結婚したのですか", Icon::Question);
            controls_.check("CHECK_A1A", !married);
            f.形態L3 = unionForm(!married);
            if (confirmed) {
                f.形態 = unionForm(!married);
            }
        }
    } else if (husband && wife) {
        dialogs_.ok("内縁関係の確認", "選択中の二人は、内縁関係になります", Icon::Exclamation);
        f.形態L3 = UnionForm::NonMarital;
    } else {
        controls_.uncheck("CHECK_A1A");
        f.形態L3 = UnionForm::Marriage;
    }
    形態表示_SUB();
}

void FamilyEditor::divorceClicked() {
    if (!hasFamily()) {
        controls_.uncheck("CHECK_A2A");
        return;
    }
    auto& f = family();
    if (f.夫NO == 0 || f.妻NO == 0) {
        controls_.uncheck("CHECK_A2A");
        dialogs_.ok("警告", "離婚できません", Icon::Stop);
        return;
    }
    if (f.夫婦確定_f != 1 || f.形態 == UnionForm::NonMarital) {
        // Only a confirmed marriage ends in divorce; the box is hidden otherwise.
        controls_.uncheck("CHECK_A2A");
        return;
    }
    if (f.離婚_F == 1) {
        // A recorded divorce cannot be taken back here.
        controls_.check("CHECK_A2A");
    } else if (controls_.checked("CHECK_A2A")) {
        if (dialogs_.yes("離婚確認メッセージ", "離婚した事に間違いありませんか？",
                         Icon::Question)) {
            f.離婚_F = 1;
        } else {
            controls_.uncheck("CHECK_A2A");
        }
    }
    形態表示_SUB();
}

void FamilyEditor::storeDivorceDate() {
    if (!hasFamily()) {
        return;
    }
    if (auto date = typed("離婚年月日", controls_.text("EDIT_A9A"))) {
        family().離婚年月日 = *date;
        controls_.setText("EDIT_A9A", *date);
    }
}

void FamilyEditor::婚姻形態_SUB() {
    婚姻制御_SUB();
    形態表示_SUB();
    lockLineOfDescent();
}

void FamilyEditor::婚姻制御_SUB() {
    auto& f = family();
    const bool husband = f.夫NO != 0;
    const bool wife = f.妻NO != 0;
    if (f.夫婦確定_f == 1) {
        controls_.check("CHECK_A1A", f.形態 == UnionForm::NonMarital);
        controls_.check("CHECK_A2A", f.離婚_F == 1);
    } else if (husband != wife) {
        controls_.uncheck("CHECK_A2A");
        controls_.check("CHECK_A1A");
        if (f.形態L3 == UnionForm::Marriage) {
            dialogs_.ok("独身警告", "選択中の婚姻関係は、独身とみなして、非婚姻関係になります",
                        Icon::Exclamation);
        }
        f.形態L3 = UnionForm::NonMarital;
    } else if (!husband) {
        controls_.uncheck("CHECK_A1A");
        controls_.uncheck("CHECK_A2A");
        f.形態L3 = UnionForm::Marriage;
    } else {
        controls_.check("CHECK_A1A", f.形態L3 == UnionForm::NonMarital);
        controls_.uncheck("CHECK_A2A");
    }
}

void FamilyEditor::形態表示_SUB() {
    const auto& f = family();
    const bool both = f.夫NO != 0 && f.妻NO != 0;
    const bool single = (f.夫NO != 0) != (f.妻NO != 0);
    controls_.enable("CHECK_A1A");
    controls_.enable("CHECK_A2A");
    auto hideDivorceDate = [&] {
        controls_.hide("EDIT_A9A");
        controls_.hide("BUTTON36");
        controls_.setText("EDIT_A9A", "");
    };
    if (f.夫婦確定_f == 1 && !controls_.checked("CHECK_A1A")) {
        controls_.disable("CHECK_A1A");
        controls_.show("CHECK_A2A");
        if (controls_.checked("CHECK_A2A")) {
            controls_.show("EDIT_A9A");
            controls_.show("BUTTON36");
            controls_.setText("CHECK_A2A", "離婚　　離婚年月日");
            controls_.disable("CHECK_A2A");
            controls_.setText("EDIT_A9A", f.離婚年月日);
        } else {
            hideDivorceDate();
            controls_.setText("CHECK_A2A", "離婚");
        }
    } else {
        if (f.夫婦確定_f == 1) {
            controls_.enable("CHECK_A1A", both);
        } else if (single) {
            controls_.disable("CHECK_A1A");
        } else if (both) {
            controls_.check("CHECK_A1A", f.形態L3 == UnionForm::NonMarital);
        }
        controls_.hide("CHECK_A2A");
        controls_.uncheck("CHECK_A2A");
        hideDivorceDate();
    }
}

void FamilyEditor::setLineOfDescentRadios(core::Lineage lineage) {
    controls_.check("RADIO_A1A", !core::isChosen(lineage)); // "未設定" for a value without a name
    controls_.check("RADIO_A2A", lineage == core::Lineage::Paternal);
    controls_.check("RADIO_A7A", lineage == core::Lineage::Maternal);
}

void FamilyEditor::lockLineOfDescent() {
    for (const char* r : {"RADIO_A1A", "RADIO_A2A", "RADIO_A7A"}) {
        controls_.enable(r);
    }
    auto& f = family();
    core::Lineage locked = core::Lineage::Unset;
    if (f.夫NO != 0 && f.妻NO == 0) {
        locked = core::Lineage::Paternal;
    } else if (f.妻NO != 0 && f.夫NO == 0) {
        locked = core::Lineage::Maternal;
    }
    if (locked == core::Lineage::Unset) {
        return;
    }
    setLineOfDescentRadios(locked);
    // The register follows what the form shows: a one-parent family descends through that
    // parent.
    f.系統_F = locked;
    for (const char* r : {"RADIO_A1A", "RADIO_A2A", "RADIO_A7A"}) {
        controls_.disable(r);
    }
}

void FamilyEditor::婚姻離婚CHECK_SUB1() {
    remembered_ = {controls_.enabled("CHECK_A1A"), controls_.enabled("CHECK_A2A"),
                   controls_.enabled("EDIT_A9A")};
    controls_.disable("CHECK_A1A");
    controls_.disable("CHECK_A2A");
    controls_.disable("EDIT_A9A");
}

void FamilyEditor::婚姻離婚CHECK_SUB2() {
    controls_.enable("CHECK_A1A", remembered_.nonMarriage);
    controls_.enable("CHECK_A2A", remembered_.divorce);
    controls_.enable("EDIT_A9A", remembered_.divorceDate);
}

// ---------------------------------------------------------------------------------------
// Line of descent, display flags, titles

void FamilyEditor::lineOfDescentChosen(core::Lineage lineage) {
    if (!hasFamily() || (lineage != core::Lineage::Unset && !core::isChosen(lineage))) {
        return;
    }
    auto& f = family();
    if (!controls_.enabled("RADIO_A1A")) {
        setLineOfDescentRadios(f.系統_F); // locked to the present parent's side
        return;
    }
    setLineOfDescentRadios(lineage);
    f.系統_F = lineage;
}

void FamilyEditor::hideSpouseClicked() {
    if (!hasFamily()) {
        return;
    }
    auto& v = family().配偶者非表示_F;
    v = hiddenFlags(controls_.checked("CHECK_A21A"), headHidden(v));
}

void FamilyEditor::hideHouseholdHeadClicked() {
    if (!hasFamily()) {
        return;
    }
    auto& v = family().配偶者非表示_F;
    v = hiddenFlags(spouseHidden(v), controls_.checked("CHECK50"));
}

void FamilyEditor::hideSpouseSurnameClicked() {
    if (!hasFamily()) {
        return;
    }
    family().配偶者姓F = controls_.checked("CHECK44") ? 1 : 0;
}

void FamilyEditor::storeHusbandTitle() {
    if (!hasFamily()) {
        return;
    }
    if (auto title = typed("夫の肩書", controls_.text("COMBO6"))) {
        family().夫肩書 = *title;
        controls_.setText("COMBO6", *title);
    }
}

void FamilyEditor::storeWifeTitle() {
    if (!hasFamily()) {
        return;
    }
    if (auto title = typed("妻の肩書", controls_.text("COMBO7"))) {
        family().妻肩書 = *title;
        controls_.setText("COMBO7", *title);
    }
}

// ---------------------------------------------------------------------------------------
// Guidance, and the registers put back

void FamilyEditor::guide(std::string_view area, std::string text) {
    controls_.setText(area, std::move(text));
}

void FamilyEditor::explainDisabledControls() {
    auto explain = [this](const char* name, std::string why) {
        auto& c = controls_[name];
        c.whyDisabled = c.enabled ? std::string() : std::move(why);
    };
    const bool choosing = inChildSelection();
    explain("BUTTON_A5A", kChartSettingsOpen);
    explain("BUTTON_A9A", choosing ? kWhileChoosing : kChartSettingsOpen);
    explain("LIST_A3A", kWhileChoosing);
    explain("LIST_A2A", kWhileChoosing);
    const char* partners = chartSettingsOpen_ ? "作図設定の画面を開いている間は変えられません"
                                              : "夫婦確定の後は夫と妻を変えられません";
    explain("COMBO_A1A", partners);
    explain("COMBO_A2A", partners);
    if (!hasFamily()) {
        return;
    }
    const auto& f = family();
    const bool single = (f.夫NO != 0) != (f.妻NO != 0);
    const char* whileChoosing = "子供の選択中は変えられません";
    explain("CHECK_A1A", choosing ? whileChoosing
                         : single ? "夫か妻の一人だけの家族は非婚姻関係です"
                                  : "夫婦確定した婚姻は非婚姻関係に変えられません");
    explain("CHECK_A2A", choosing ? whileChoosing : "離婚の記録は取り消せません");
    explain("EDIT_A9A", whileChoosing);
    const char* line =
        f.妻NO == 0 ? "夫だけの家族の直系は父系です" : "妻だけの家族の直系は母系です";
    for (const char* r : {"RADIO_A1A", "RADIO_A2A", "RADIO_A7A"}) {
        explain(r, line);
    }
    explain("CHECK_A3A", "養子縁組かどうかは、子供を追加したときに決まります");
    explain("CHECK_A4A", "認知は記録済みです");
    explain("CHECK_A5A", "この子はこの家族の子孫として描かれます");
}

std::string FamilyEditor::historyBlocked() const {
    if (inChildSelection()) {
        return kWhileChoosing;
    }
    return chartSettingsOpen_ ? kChartSettingsOpen : "";
}

void FamilyEditor::showRestoredRegisters() {
    if (inChildSelection()) {
        leaveChildSelection();
        hideChildTitleControls();
    }
    const int count = data_.reg.familyCount();
    if (currentFamily() > count || currentFamily() <= 0) {
        setCurrentFamily(count);
    }
    fillPersonChoices();
    fillFamilyList();
    fillBaseFamilyChoices();
    if (hasFamily()) {
        loadFamily();
    } else {
        controls_.hide("FORM6");
    }
    updateDeleteButton();
    explainDisabledControls();
}

// ---------------------------------------------------------------------------------------
// Deleting a family

void FamilyEditor::deleteFamily() {
    if (!hasFamily()) {
        return;
    }
    if (family().子数() > 0) {
        common::STOP_SUB(dialogs_, "削除エラー",
                         "子供のいる家族は削除できません。先に子供を削除してください。");
        return;
    }
    // A child being chosen for this family is not added: the choice ends first, so that
    // FORM2's buttons and lists come back even when no family is left to load.
    if (inChildSelection()) {
        leaveChildSelection();
        hideChildTitleControls();
    }
    const bool last = data_.reg.familyCount() == 1;
    try {
        core::deleteFamily(data_, currentFamily());
    } catch (const common::FileError& e) {
        common::STOP_SUB(dialogs_, "削除エラー", e.what());
        return;
    }
    if (last) {
        setCurrentFamily(0);
        fillFamilyList();
        controls_.hide("FORM6");
        fillBaseFamilyChoices();
        fillPersonChoices();
    } else {
        setCurrentFamily(std::min(currentFamily(), data_.reg.familyCount()));
        fillFamilyList();
        fillBaseFamilyChoices();
        fillPersonChoices();
        // The detail form now shows the family that took the deleted one's place.
        loadFamily();
    }
    // The persons' family references were renumbered and written together with the family
    // register.
    updateDeleteButton();
    controls_.show("FORM2");
}

// ---------------------------------------------------------------------------------------
// Search by given name, base family

void FamilyEditor::findFamilyByName() {
    if (data_.reg.familyCount() == 0) {
        guide(kListGuidance, "家族がまだ登録されていません");
        return;
    }
    const auto text = dialogs_.input("名前で検索", "姓は入力しない", "");
    if (!text || text->empty()) {
        searchText_.clear();
        return;
    }
    searchText_ = *text;
    for (int f = 1; f <= data_.reg.familyCount(); ++f) {
        const auto& fam = data_.reg.family(f);
        if ((validPerson(fam.夫NO) && person(fam.夫NO).名 == searchText_) ||
            (validPerson(fam.妻NO) && person(fam.妻NO).名 == searchText_)) {
            controls_["LIST_A3A"].current = f - 1;
            selectFamily();
            return;
        }
    }
    guide(kListGuidance, "名が「" + searchText_ + "」の夫か妻のいる家族は見つかりません");
}

void FamilyEditor::findNextFamily() {
    if (searchText_.empty()) {
        guide(kListGuidance, "先に「名前で検索」で名を入力してください");
        return;
    }
    // The family after the selected one, up to and including the last family.
    for (int f = controls_["LIST_A3A"].current + 2; f <= data_.reg.familyCount(); ++f) {
        const auto& fam = data_.reg.family(f);
        if ((validPerson(fam.夫NO) && person(fam.夫NO).名 == searchText_) ||
            (validPerson(fam.妻NO) && person(fam.妻NO).名 == searchText_)) {
            controls_["LIST_A3A"].current = f - 1;
            selectFamily();
            return;
        }
    }
    guide(kListGuidance, "これより後に、名が「" + searchText_ + "」の夫か妻のいる家族はありません");
}

void FamilyEditor::baseFamilyChanged() {
    const int chosen = controls_["COMBO_A5A"].current;
    if (chosen < 0 || chosen > data_.reg.familyCount()) {
        return;
    }
    data_.settings.基準家族 = static_cast<std::int16_t>(chosen);
    if (chosen > 0) {
        setCurrentFamily(chosen);
        loadFamily();
    }
    if (baseFamilyChosen) {
        baseFamilyChosen(chosen);
    }
}

// ---------------------------------------------------------------------------------------

namespace {

using E = EventCode;

// The operations of the event codes, each code once. An operation answers false when a save
// could not write its file.
struct Operation {
    EventCode code;
    bool (*run)(FamilyEditor&);
};

template <void (FamilyEditor::*operation)()> bool done(FamilyEditor& e) {
    (e.*operation)();
    return true;
}

template <core::Lineage line> bool lineOfDescent(FamilyEditor& e) {
    e.lineOfDescentChosen(line);
    return true;
}

constexpr Operation kOperations[] = {
    {E::BUTTON_A9A_ON, done<&FamilyEditor::leaveForPersonInput>},
    {E::BUTTON_A5A_ON, done<&FamilyEditor::newFamily>},
    {E::BUTTON_A6A_ON, done<&FamilyEditor::registerFamily>},
    {E::BUTTON_A7A_ON, [](FamilyEditor& e) { return e.save(); }},
    {E::LIST_A3A_CLICK, done<&FamilyEditor::selectFamily>},
    {E::BUTTON_A4A_ON_11, done<&FamilyEditor::childSelectionButton>},
    {E::BUTTON_A4A_ON_12, done<&FamilyEditor::childSelectionButton>},
    {E::CHECK_A2A_ON, done<&FamilyEditor::divorceClicked>},
    {E::LIST_A2A_CLICK, done<&FamilyEditor::selectChild>},
    {E::BUTTON_A13A_ON, done<&FamilyEditor::confirmCouple>},
    {E::BUTTON_A10A_ON, done<&FamilyEditor::moveChildUp>},
    {E::BUTTON_A11A_ON, done<&FamilyEditor::moveChildDown>},
    {E::BUTTON_A12A_ON, done<&FamilyEditor::reverseChildren>},
    {E::BUTTON_A14A_ON, done<&FamilyEditor::deleteFamily>},
    {E::BUTTON_A16A_ON, [](FamilyEditor& e) { return e.saveBeforeExit(); }},
    {E::BUTTON_A17A_ON, done<&FamilyEditor::deleteChild>},
    {E::BUTTON_A20A_ON, done<&FamilyEditor::storeChildTitle>},
    {E::CHECK_A4A_ON, done<&FamilyEditor::acknowledgeClicked>},
    {E::BUTTON_A18A_ON, done<&FamilyEditor::storeAdoptionDate>},
    {E::BUTTON_A19A_ON, done<&FamilyEditor::storeAcknowledgmentDate>},
    {E::CHECK_A1A_ON, done<&FamilyEditor::nonMarriageClicked>},
    {E::CHECK_A5A_ON, done<&FamilyEditor::descendantFlagClicked>},
    {E::BUTTON_A28A_ON, done<&FamilyEditor::findFamilyByName>},
    {E::BUTTON_A29A_ON, done<&FamilyEditor::findNextFamily>},
    {E::CHECK_A21A_ON, done<&FamilyEditor::hideSpouseClicked>},
    {E::COMBO_A5A_CHANGE, done<&FamilyEditor::baseFamilyChanged>},
    {E::BUTTON36_ON, done<&FamilyEditor::storeDivorceDate>},
    {E::RADIO_A1A_ON, lineOfDescent<core::Lineage::Unset>},
    {E::RADIO_A2A_ON, lineOfDescent<core::Lineage::Paternal>},
    {E::RADIO_A7A_ON, lineOfDescent<core::Lineage::Maternal>},
    {E::COMBO6_CHANGE, done<&FamilyEditor::storeHusbandTitle>},
    {E::COMBO7_CHANGE, done<&FamilyEditor::storeWifeTitle>},
    {E::CHECK44_ON, done<&FamilyEditor::hideSpouseSurnameClicked>},
    {E::CHECK50_ON, done<&FamilyEditor::hideHouseholdHeadClicked>},
};

} // namespace

const std::vector<EventCode>& FamilyEditor::eventCodes() {
    static const std::vector<EventCode> codes = [] {
        std::vector<EventCode> c;
        for (const Operation& op : kOperations) {
            c.push_back(op.code);
        }
        return c;
    }();
    return codes;
}

FamilyEditor::Outcome FamilyEditor::dispatch(EventCode code) {
    for (const Operation& op : kOperations) {
        if (op.code == code) {
            controls_.setText(kListGuidance, "");
            controls_.setText(kDetailGuidance, "");
            const bool done = op.run(*this);
            explainDisabledControls();
            return done ? Outcome::Done : Outcome::Failed;
        }
    }
    return Outcome::NotHandled;
}

} // namespace editing
