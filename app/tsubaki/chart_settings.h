// The chart settings dialog FORM4 "系図表示設定" against the drawing settings: loading the
// controls from core::DrawingSettings, the preparation when the dialog opens (作図設定_SUB),
// the control dependencies that act at once, the hidden-family list, and storing the
// controls back at the save points ("作図実行", "テキスト化", "キャンセル").
#pragma once

#include "core/data_folder.h"

#include <optional>
#include <string>

namespace forms {
class Form4;
}

namespace app {

class ChartSettingsForm {
public:
    ChartSettingsForm(forms::Form4& form, core::DataFolder& data);

    // The controls from the settings (the values they show when the dialog opens).
    void load(const core::DrawingSettings& s);
    // 作図設定_SUB: visibility and enabled states by the writing direction, the program's
    // mode and whether a settings file existed at start-up; the four number fields.
    void prepare();

    // Values the controls hold, as "キャンセル" keeps them: writing direction, numeral style,
    // the check boxes, the text line style, "最下層部を広げる値" and the two indents (when
    // they are numbers).
    void storeControls(core::DrawingSettings& s) const;
    // What "作図実行" takes from the fields, with its corrections: font size (kept when the
    // field is not above 0), spacings, line thickness (1 when not above 0), the indents
    // (the birth-date indent limited to 0..15 and written back). A field that holds no
    // number leaves `s` unchanged and returns the message naming it.
    std::optional<std::string> storeRun(core::DrawingSettings& s);

    // The hidden-family list: one entry per family, a family whose entry text changed
    // since it was stored loses its hidden flag, the stored texts become the present ones,
    // entries are selected by the flags, the base family never.
    void fillHiddenFamilies(int baseFamily);
    // The flags from the selection (a click on the list); the base family is unselected.
    void readHiddenFamilies(int baseFamily);
    // "全部選択" (every family but the base family) and "全部解除".
    void selectAllFamilies(int baseFamily);
    void clearFamilies();
    // The selection from the stored flags.
    void showHiddenFamilies(int baseFamily);

    // The dependencies that act at once.
    void verticalClicked();
    void horizontalClicked();
    void fieldClicked(const char* field);   // "CHECK_A6A", "CHECK_A9A" or "CHECK_A11A"
    void legalFormClicked(const char* box); // "CHECK_A18A" or "CHECK46"

    bool vertical() const;

private:
    void showVerticalControls(bool vertical, bool childOrderInEitherMode);
    void setFieldLabelStates();

    forms::Form4& form_;
    core::DataFolder& data_;
};

// A number as the settings' fields show it: no sign for positive values, no leading blank,
// no decimals for whole values ("16", "1.5", "-2").
std::string fieldNumber(float value);

// A number typed into a field: leading and trailing blanks and full-width digits allowed;
// nullopt when the text is no number.
std::optional<float> parseFieldNumber(const std::string& text);

} // namespace app
