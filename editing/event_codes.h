// The event codes of tsubaki: every control event that is not handled on the spot is one
// of these codes. The program's event table (app/tsubaki/event_table.h) maps each to its
// handler, and the family editor runs those of FORM2 and FORM6 (FamilyEditor::dispatch).
// The names are the control events that raise them; they are the only spelling of a code.
#pragma once

namespace editing {

enum class EventCode : int {
    None = 0,
    BUTTON_A1A_ON = 1,   // MAINFORM "当事者リストに新規追加"
    BUTTON_A2A_ON = 2,   // FORM5 "リスト登録"
    LIST_A1A_CLICK = 3,  // MAINFORM person list
    BUTTON_A3A_ON = 4,   // MAINFORM "データをファイルに保存"
    BUTTON_A8A_ON = 5,   // MAINFORM "家族構成へ"
    BUTTON_A9A_ON = 6,   // FORM2 "当事者入力へ"
    BUTTON_A5A_ON = 7,   // FORM2 "新規追加"
    BUTTON_A6A_ON = 8,   // FORM6 "リスト登録"
    BUTTON_A7A_ON = 9,   // FORM2 "データをファイルに保存"
    LIST_A3A_CLICK = 10, // FORM2 family list
    BUTTON_A4A_ON_11 = 11, // FORM6 "子供の追加"/"登録決定" while the child-entry area is shown
    BUTTON_A4A_ON_12 = 12, // the same button while that area is hidden
    CHECK_A2A_ON = 13,     // FORM6 "離婚"
    LIST_A2A_CLICK = 14,   // FORM6 child list
    BUTTON_A13A_ON = 15,   // FORM6 "夫婦確定"
    BUTTON_A10A_ON = 16,   // FORM6 "上に移動"
    BUTTON_A11A_ON = 17,   // FORM6 "下に移動"
    BUTTON_A12A_ON = 18,   // FORM6 "上下並べ替え"
    BUTTON_A14A_ON = 19,   // FORM2 "削除"
    BUTTON_A15A_ON = 20,   // MAINFORM "終　了"
    BUTTON_A16A_ON = 21,   // FORM2 "終　了"
    BUTTON_A17A_ON = 22,   // FORM6 "子の削除"
    BUTTON_A20A_ON = 23,   // FORM6 "登録" (child title)
    CHECK_A4A_ON = 24,     // FORM6 "認　知"
    BUTTON_A18A_ON = 25,   // FORM6 "原因日付を書き込む" (adoption)
    BUTTON_A19A_ON = 26,   // FORM6 "原因日付を書き込む" (acknowledgment)
    CHECK_A1A_ON = 27,     // FORM6 "非婚姻関係"
    CHECK_A5A_ON = 28,     // FORM6 "子孫フラッグ"
    InheritanceChart = 29, // no control: run directly by the inheritance-chart processing
    BUTTON_A25A_ON = 30,   // FORM5 "他の人のデータを利用"
    BUTTON_A26A_ON = 31,   // MAINFORM "名前を検索"
    BUTTON_A27A_ON = 32,   // MAINFORM "次を検索"
    BUTTON_A28A_ON = 33,   // FORM2 "名前で検索"
    BUTTON_A29A_ON = 34,   // FORM2 "次を検索"
    BUTTON_A30A_ON = 35,   // MAINFORM mode toggle
    CHECK_A21A_ON = 36,    // FORM6 "配偶者を非表示にする"
    BUTTON_A21A_ON = 37,   // FORM2 "作図開始"
    LIST_A5A_CLICK = 38,   // FORM4 hidden-family list
    COMBO_A5A_CHANGE = 39, // FORM2 base family
    BUTTON_A31A_ON = 40,   // FORM4 "全部選択"
    BUTTON_A32A_ON = 41,   // FORM4 "全部解除"
    BUTTON_A33A_ON = 42,   // FORM4 "直系子孫の解除"
    BUTTON34_ON = 43,      // MAINFORM "リスト中の当事者を編集"
    BUTTON_A22A_ON = 44,   // FORM4 "作図実行"
    BUTTON_A23A_ON = 45,   // FORM4 "キャンセル"
    LIST6_CLICK = 46,      // FORM7 person list
    BUTTON35_ON = 47,      // FORM7 "実行"
    BUTTON36_ON = 48,      // FORM6 "原因日付を書き込む" (divorce)
    RADIO_A1A_ON = 49,     // FORM6 "未設定"
    RADIO_A2A_ON = 50,     // FORM6 "父系"
    RADIO_A7A_ON = 51,     // FORM6 "母系"
    CHECK35_ON = 52,       // FORM5 "名・姓表示"
    BUTTON37_ON = 53,      // FORM4 "テキスト化"
    BUTTON38_ON = 54,      // FORM8 "作図実行"
    CHECK39_ON = 55,       // FORM5 "当事者リンク"
    LIST7_CLICK = 56,      // FORM9 link-source list
    BUTTON39_ON = 57,      // MAINFORM "作図開始"
    COMBO6_CHANGE = 59,    // FORM6 husband title choice, and its "登録" BUTTON42
    COMBO7_CHANGE = 60,    // FORM6 wife title choice, and its "登録" BUTTON43
    CHECK44_ON = 61,       // FORM6 "配偶者の姓を非表示にする"
    BUTTON46_ON = 62,      // FORM10 "設定完了"
    BUTTON44_ON = 63,      // FORM10 "全部選択"
    BUTTON45_ON = 64,      // FORM10 "全部解除"
    LIST9_CLICK = 65,      // FORM11 applicant list
    BUTTON48_ON = 66,      // FORM11 "設定完了"
    CHECK50_ON = 67,       // FORM6 "世帯主を非表示にする"
};

// Codes run 1..67 (58 is unused); 0 and anything outside call nothing.
inline constexpr int kLastEventCode = 67;

} // namespace editing
