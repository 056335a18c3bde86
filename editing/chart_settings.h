// The rules of the chart settings dialog FORM4 "系図表示設定" that are not about its widgets:
// the number fields as shown and as typed with their ranges and corrections, the states its
// check boxes and buttons take by the writing direction, the program's mode and the settings
// file, the hidden-family list, and what its save points write.
#pragma once

#include "core/data_folder.h"
#include "core/drawing_settings.h"
#include "core/registers.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace editing {

// ---- numbers ----

// A number as the settings' fields show it: no sign for positive values, no leading blank,
// no decimals for whole values ("16", "1.5", "-2").
std::string fieldNumber(float value);

// A number typed into a field, read as a double and narrowed to a float: blanks around it
// allowed (Unicode spaces included), digits, signs, the point, the exponent and the blank
// also in their full-width forms as the full-width conversion writes them, the minus sign
// U+2212 as "-". nullopt when the text is no number, or one a float cannot hold (beyond
// its range, or a value not 0 that would become 0).
std::optional<float> parseFieldNumber(std::string_view text);

// 生年月日の字下げ is kept within 0..15, 漢数字の設定 within 0..2.
float birthDateIndent(float value);
int numeralStyle(int value);

// The number fields as typed.
struct SettingsFields {
    std::string fontSize;      // EDIT_A12A, FONT_SIZE
    std::string lineSpacing;   // EDIT_A13A "行の間隔"
    std::string charSpacing;   // EDIT_A14A "文字間隔"
    std::string lineThickness; // EDIT_A16A, ラインの太さ
    std::string bottomSpread;  // EDIT_A17A "最下層部を広げる値"
    std::string nameIndent;    // EDIT21 "名前の字下げ値"
    std::string birthIndent;   // EDIT22 "生年月日の字下げ値"
};

// The fields as the dialog shows `s` when it opens (the birth-date indent within its range).
SettingsFields settingsFields(const core::DrawingSettings& s);

// What "キャンセル" keeps of the fields: "最下層部を広げる値" when it is a number not below 0,
// the name indent when it is a number, the birth-date indent when it is one (within its
// range). Fields that hold no number leave their values as they are.
void storeKeptFields(const SettingsFields& fields, core::DrawingSettings& s);

// What "作図実行" and "テキスト化" take from the fields, with their corrections: the font size
// (kept when the field is not above 0), the spacings, the line thickness (1 when not above
// 0), "最下層部を広げる値" and the indents (the birth-date indent within its range). When a
// field of the spacings, "最下層部を広げる値" or the indents holds no number or one out of its
// range, `s` is left as it is and the message naming the field is returned.
std::optional<std::string> storeRunFields(const SettingsFields& fields, core::DrawingSettings& s);

// ---- the states of the controls ----

// What the rules of the states depend on: the program's mode ("KANKYO.TXT"; 1 is the normal
// mode, anything else the simplified one) and whether the data folder held "作図設定.TXT"
// when it was loaded.
struct SettingsDialogContext {
    int mode = 1;
    bool settingsFilePresent = true;
};

struct SettingsBox {
    bool checked = false;
    bool enabled = true;
    bool operator==(const SettingsBox&) const = default;
};

// The controls whose states the rules decide, each named by the setting it shows.
struct SettingsControls {
    bool verticalTicked = true;      // RADIO_A5A "縦書き"
    bool horizontalTicked = false;   // RADIO_A6A "横書き"
    bool directionEnabled = true;    // both of them
    bool numeralsShown = true;       // "漢数字の設定" with its label
    bool childOrderShown = true;     // CHECK_A16A
    bool textDrawingEnabled = false; // "テキスト化" BUTTON37 and its line style GROUP3
    SettingsBox domicile;            // CHECK_A6A 本籍欄
    SettingsBox remarks1;            // CHECK_A7A 備考欄１
    SettingsBox remarks2;            // CHECK_A8A 備考欄２
    SettingsBox address;             // CHECK_A9A 住所欄
    SettingsBox acknowledgment;      // CHECK_A10A 認知欄
    SettingsBox divorce;             // CHECK_A11A 離婚・養子縁組欄
    SettingsBox deathDate;           // CHECK_A12A 死亡年月日欄
    SettingsBox birthDate;           // CHECK_A13A 生年月日欄
    SettingsBox divorceDate;         // CHECK_A23A 離婚年月日非表示
    SettingsBox domicileLabel;       // CHECK24 本籍欄に「本籍」と入れる
    SettingsBox addressLabel;        // CHECK25 住所欄に「住所」と入れる
    SettingsBox childOrder;          // CHECK_A16A 子供の表示を右順にする
    SettingsBox linkSame;            // CHECK_A17A 同一人物を繋ぐ
    SettingsBox explanation;         // CHECK_A18A 相続関係説明図にする
    SettingsBox listChart;           // CHECK46 法定相続情報一覧図作成
    bool operator==(const SettingsControls&) const = default;
};

// 作図設定_SUB, when the dialog opens: the writing direction kept (vertical unless only
// "横書き" is ticked) and its controls; the field boxes usable. The simplified mode shows
// neither domicile, address nor acknowledgment and draws no explanation chart; without a
// settings file it starts with the persons' links drawn ("同一人物を繋ぐ") and no child order
// box ticked, the normal mode without the links. A label box can be used while its field's
// box is ticked.
void prepareControls(SettingsControls& c, const SettingsDialogContext& context);

// Why "テキスト化" cannot act with these controls (its tooltip), "" when it can: a text
// drawing is made of rows, so it is made of a horizontal chart only.
std::string textDrawingWhyNot(const SettingsControls& c);

// "縦書き" clicked: the numeral choice and the child order box shown (the box ticked when
// there was no settings file), text drawing off, and the statutory list chart, drawn in
// horizontal writing only, off and unusable.
void verticalChosen(SettingsControls& c, const SettingsDialogContext& context);
// "横書き" clicked: neither the numeral choice nor the child order box (unticked), text
// drawing on, the statutory list chart usable.
void horizontalChosen(SettingsControls& c);

// A field box that has a label box clicked: the label box unticked, usable while the field
// box is ticked.
enum class LabelledField {
    Domicile, // 本籍欄 with 本籍欄に「本籍」と入れる
    Address,  // 住所欄 with 住所欄に「住所」と入れる
    Divorce,  // 離婚・養子縁組欄 with 離婚年月日非表示
};
void labelledFieldClicked(SettingsControls& c, LabelledField field);

// One legal chart at most: ticking either box unticks the other.
enum class LegalChartBox { Explanation, List };
void legalChartClicked(SettingsControls& c, LegalChartBox box);

// ---- the hidden-family list ----

// The list when the dialog opens: one entry per family of `reg`, as the family list writes
// it (the lines returned). An entry whose text changed since it was stored loses its hidden
// flag and takes the present text; the base family is never hidden.
std::vector<std::string> refreshFamilyEntries(std::vector<core::FamilyEntry>& entries,
                                              const core::Registers& reg, int baseFamily);

// Which of `listed` entries the list selects: those hidden, the base family never.
std::vector<bool> hiddenFamilySelection(const std::vector<core::FamilyEntry>& entries, int listed,
                                        int baseFamily);

// The hidden flags from the list's selection (a click on the list, a save point); the
// entries grow to the list and to `familyCount`; the base family is never hidden.
void storeHiddenFamilies(std::vector<core::FamilyEntry>& entries, const std::vector<bool>& selected,
                         int familyCount, int baseFamily);

// "全部選択": every family hidden but the base family. "全部解除": none.
void hideAllFamilies(std::vector<core::FamilyEntry>& entries, int baseFamily);
void showAllFamilies(std::vector<core::FamilyEntry>& entries);

// ---- the save points ----

// What "作図実行" and "テキスト化" write before drawing: the settings, the person register and
// the family register, in this order.
std::vector<core::Part> partsSavedAtRun();
// What "キャンセル" writes: the settings, with the family register when there are families.
std::vector<core::Part> partsSavedAtCancel(const core::Registers& reg);

} // namespace editing
