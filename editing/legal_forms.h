// The rules of the legal chart dialogs that are not about their widgets: FORM8
// "相続関係説明図のオプション設定", FORM10 "相続人設定" and FORM11 "申出人と作成者の設定". What
// each shows of the drawing settings, the heir list, the applicant chosen from the persons,
// and the texts typed into them, which are stored in full width.
#pragma once

#include "core/drawing_settings.h"
#include "core/folder_options.h"
#include "core/registers.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace editing {

// ---- typed texts ----

// A field whose typed text is stored in full width, with the caption its message names.
struct TypedField {
    std::string caption;
    std::string text;
};

// Why typed texts were refused: the field (its place among those given) and the message
// shown under kInputErrorTitle.
struct FieldRefusal {
    std::size_t field = 0;
    std::string message;
    bool operator==(const FieldRefusal&) const = default;
};
inline constexpr const char* kInputErrorTitle = "入力エラー";

// The typed texts through the full-width conversion, in the order given; or the refusal of
// the first that holds a character Shift-JIS cannot hold ("<caption>「<text>」に、Shift-JISで
// 書けない文字があります。").
struct FullWidthTexts {
    std::vector<std::string> texts;
    std::optional<FieldRefusal> refusal;
};
FullWidthTexts fullWidthTexts(const std::vector<TypedField>& fields);

// ---- FORM8 ----

struct ExplanationOptions {
    bool deceasedInfo = false;                  // CHECK37 被相続人の情報欄を表示する
    bool returnNote = false;                    // CHECK38 戸籍還付欄を表示する
    std::array<std::string, 4> registryAddress; // EDIT23..EDIT26 登記簿上の住所１..４
    bool operator==(const ExplanationOptions&) const = default;
};

ExplanationOptions explanationOptions(const core::DrawingSettings& s);

// FORM8's "作図実行": the options into `s`, the four address lines in full width. A line
// Shift-JIS cannot hold is refused ("登記簿上の住所のN行目"), leaving `s` as it was.
std::optional<FieldRefusal> storeExplanationOptions(const ExplanationOptions& typed,
                                                    core::DrawingSettings& s);

// ---- FORM10 ----

// The heir list when FORM10 opens (core::heirListPersons): the persons, in list order. The
// persons not in the list are no heirs of this chart: their flags are cleared in `s`.
std::vector<int> openHeirList(core::DrawingSettings& s, const core::Registers& reg, int baseFamily,
                              int deceased);
// The list's lines, and which of them are selected: the persons flagged as heirs.
std::vector<std::string> heirListLines(const core::Registers& reg, const std::vector<int>& list);
std::vector<bool> heirSelection(const core::DrawingSettings& s, const std::vector<int>& list);

struct HeirOptions {
    bool withAddresses = false;  // CHECK47 一覧図に住所を記載する
    bool familyHeadship = false; // CHECK49 家督相続
    std::string titleAddition;   // EDIT32 表題部追加情報
    bool listForm = false;       // "列挙形式で作成", kept in "tsubaki.ini"
    bool operator==(const HeirOptions&) const = default;
};

HeirOptions heirOptions(const core::DrawingSettings& s, const core::FolderOptions& options);

// FORM10's "設定完了": the heirs as selected in the list and the options, the title
// addition in full width. An addition Shift-JIS cannot hold is refused ("表題部追加情報"),
// leaving everything as it was.
std::optional<FieldRefusal> storeHeirs(const std::vector<int>& list,
                                       const std::vector<bool>& selected, const HeirOptions& typed,
                                       core::DrawingSettings& s, core::FolderOptions& options);

// ---- FORM11 ----

// The entries of the applicant list: "このリストに申出人はいない", then every person.
std::vector<std::string> applicantListLines(const core::Registers& reg);

struct ApplicantFields {
    int applicant = 0;            // the list's entry: 0 for nobody, else the person
    std::string applicantAddress; // EDIT27 申出人の住所
    std::string applicantName;    // EDIT28 申出人の氏名
    std::string creatorAddress;   // EDIT29 作成者の住所
    std::string creatorName;      // EDIT30 作成者の氏名
    std::string date;             // EDIT31 作成日付
    bool omitSettings = false;    // CHECK48 この系図では設定の記載を省略
    bool operator==(const ApplicantFields&) const = default;
};

// The stored applicant and creator; an applicant number outside the persons is nobody.
ApplicantFields applicantFields(const core::DrawingSettings& s, int personCount);

// A choice in the applicant list: the person's address (住所１ and 住所２) and joined name;
// nullopt for nobody or an entry beyond the persons.
struct ApplicantLines {
    std::string address;
    std::string name;
    bool operator==(const ApplicantLines&) const = default;
};
std::optional<ApplicantLines> applicantLines(const core::Registers& reg, int entry);

// FORM11's "設定完了": the fields into `s`, the five texts in full width (a negative entry
// is nobody). A text Shift-JIS cannot hold is refused, leaving `s` as it was.
std::optional<FieldRefusal> storeApplicant(const ApplicantFields& typed, core::DrawingSettings& s);

} // namespace editing
