// The checks before a legal chart is drawn: what the bureau would send back ("誤り：") and
// what is worth a look ("注意："), each naming the person (number and name) or the field.
// One function serves the window (its findings dialog before drawing) and every headless
// output (--check, and the findings on stderr of --chart and --text).
//
// Checked for both charts: the deceased's death date and last address and domicile, and
// that every date of a person drawn is a real date with the birth before the death. For the
// 法定相続情報一覧図 also the heirs against those the law gives (core/heirs.h): none
// selected, one who died before the deceased, one selected whom the law does not make an
// heir or an heir not selected, a representative (代襲者) not titled 孫 (or 曾孫, 甥 ...)
// and a predeceased heir not marked "被代襲者" in the tree form, a child titled plain 子
// whose order and sex are known, and the applicant and creator blocks.
#pragma once

#include "render/legal_headings.h"

#include "core/drawing_settings.h"
#include "core/folder_options.h"
#include "core/heirs.h"
#include "core/registers.h"

#include <string>
#include <vector>

namespace render {

struct Finding {
    enum class Kind { Error, Notice };
    Kind kind = Kind::Error;
    int person = 0;           // the person concerned, 0 for a field of the settings
    std::string text;         // without the prefix
    std::string line() const; // "誤り：…" or "注意：…"
};

struct LegalCheckRequest {
    LegalChartKind kind = LegalChartKind::List;
    core::ListChartForm form = core::ListChartForm::Tree; // the list chart's form
    int baseFamily = 0;
    int deceased = 0; // as the chart takes it (the lineage answered)
};

// The findings, errors first, each kind in the order of the checks.
std::vector<Finding> checkLegalChart(const core::Registers& reg, const core::DrawingSettings& s,
                                     const LegalCheckRequest& request);

bool hasErrors(const std::vector<Finding>& findings);

// The message of the findings dialog before drawing, and its title and two buttons.
inline constexpr const char* kFindingsTitle = "作図前の確認";
inline constexpr const char* kDrawAnyway = "このまま作図";
inline constexpr const char* kGoBack = "戻って直す";
std::string findingsMessage(const std::vector<Finding>& findings);

// What FORM10 shows beside the heir list: one line per worked-out heir with its share and
// relationship, and a line on what could not be worked out (kDeceasedUnknown alone when the
// base family names no deceased).
inline constexpr const char* kDeceasedUnknown =
    "被相続人が決まっていません（基準家族の直系の接続とその側の人物を確かめてください）";
std::vector<std::string> heirShareLines(const core::Registers& reg,
                                        const core::HeirOutcome& outcome);

// "当事者NO.13 木村拓也" (the joined name, "氏名不詳" when there is none).
std::string personLabel(const core::Registers& reg, int person);

} // namespace render
