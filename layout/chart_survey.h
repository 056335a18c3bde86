// The chart survey: walks the person and family registers into an ordered forest of
// trees. It fixes the centre person, the ancestor each tree starts from, the order in
// which a person's households (the families in which the person is a spouse) are taken,
// every household's generation level, and the slot numbers in the order in which blocks
// will be laid out side by side. It produces no coordinates (see chart_layout.h).
//
// The survey never changes the caller's registers: it works on a copy in which person
// links are resolved, children of hidden families are cut loose and the child order may
// be reversed (SurveyResult::run), and records what it changed (RunChanges) so that the
// copy can be turned back into the registers exactly.
//
// Passes, in order: preparation (centre, links, hidden families, child order), stage 1
// (the centre person's descendants), stage 2 (ancestors of the centre person and its
// spouses), stage 3 (descent from those ancestors), stage 4 (every household still free,
// under new roots) and closing (multi-household slots). The release run ("直系子孫の解除")
// stops after stage 1 and reports the families of the centre person's direct line.
#pragma once

#include "core/drawing_settings.h"
#include "core/environment.h"
#include "core/registers.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace layout {

// What the survey reads besides the registers.
struct SurveyOptions {
    int baseFamily = 0; // 1..family count
    bool 縦書き = true;
    bool 子供の表示を右順にする = false;
    bool 子孫以外は女性主体で作図 = false;
    bool 非婚姻関係を強制表示 = false;
    // Families chosen in "非表示にする家族の選択欄", indexed by family − 1; missing entries
    // are visible. The base family is never hidden.
    std::vector<bool> hidden;
    int 最大世代数 = 0;
    bool releaseRun = false; // "直系子孫の解除": stage 1 only, hidden families not skipped
};

// The options of a data folder's drawing settings and environment for `baseFamily`.
SurveyOptions surveyOptions(const core::DrawingSettings& settings, const core::Environment& env,
                            int baseFamily);

// The base family of a chart run: the stored base family ("基準家族") when one is chosen,
// else the current family ("リスト３"); 0 when neither names a family.
int defaultBaseFamily(const core::DrawingSettings& settings, int familyCount);

// The centre-side question (男性チェック) asked when the base family's lineage is not set.
struct CentreQuestion {
    int family = 0;
    std::string title; // "作図の中心となる人物が決まっていません"
    std::string text;  // "家族No. 3は、男性を中心に作図しますか？"
};
CentreQuestion centreQuestion(int family);

// Answers the question: true for Yes (centre on the husband, "父系"), false for No (the
// wife, "母系"), nullopt when the question cannot be answered.
using CentreAnswer = std::function<std::optional<bool>(const CentreQuestion&)>;

// 男性チェック: the lineage of `family`, Paternal or Maternal; asks `answer` when the family's
// 系統_F names neither. nullopt when the question went unanswered.
std::optional<core::Lineage> 男性チェック(const core::Registers& reg, int family,
                                          const CentreAnswer& answer);

// Why a survey did not produce a chart. `title` and `text` are the message box's.
struct SurveyError {
    enum class Kind {
        BadInput,         // a register reference or option the survey cannot follow
        CentreUnanswered, // the centre-side question went unanswered
        TooDeep,          // more generations than 最大世代数 allows
        Contradiction,    // cyclic ancestry
    };
    Kind kind = Kind::BadInput;
    std::string title;
    std::string text;
    int person = 0; // the start person of a contradiction
};

// The register values a run changes in its copy, in the copy's child order.
struct RunChanges {
    struct FamilyRefs {
        std::int16_t 夫NO = 0;
        std::int16_t 妻NO = 0;
        std::vector<std::int16_t> 子NO; // as registered, at the run's child positions
    };
    std::vector<FamilyRefs> families; // index family − 1
    std::vector<std::int16_t> 子孫_F; // index person − 1; empty in the release run
    bool childrenReversed = false;
};

// Turns the run's copy back into the registers as they were: the saved references are
// put back at the run's child positions and the child order is reversed again. The base
// family's 系統_F keeps the run's lineage (see SurveyResult::lineage).
void restoreRun(core::Registers& run, const RunChanges& changes);

// What the survey found for one family.
struct FamilySurvey {
    int orderNo = 0;  // household order number: 1 single parent, 2.. couples; 0 = free
    int takenBy = 0;  // the person through whom the family was taken
    int entrySex = 0; // that person's 男女 as recorded
    int 階層 = 0;     // generation level of the household
    // 親接続: the family and child index under which the household was reached.
    int parentFamily = 0;
    int parentChild = 0;
    // Slot table: columns 0..2, the three consecutive slots of the household (0: the
    // household, or the single parent's block; 1: the husband's block; 2: the wife's).
    std::array<int, 3> slots{};
    // Column 2 + k: the slot of child k (childSlots[k − 1]); 0 when the child heads
    // households of its own, reached through childHousehold[k − 1].
    std::vector<int> childSlots;
    std::vector<int> childHousehold;
    bool centreReached = false; // taken in stage 1 (the centre person's descendants)

    bool taken() const { return orderNo > 0; }
    // The parent connection text "family,child" (empty when not reached from a parent).
    std::string 親接続() const;
};

struct PersonSurvey {
    std::vector<int> households; // in arranged order
    int multiSlot = 0;           // slot of a person with two or more households
};

struct SurveyResult {
    core::Registers run; // the registers as the run sees them
    RunChanges changes;  // what the run changed in `run`
    int baseFamily = 0;
    // 系統_F of the base family for the run (Paternal or Maternal). When the centre-side
    // question was answered, the caller keeps the answer in the family's 系統_F (FORM6's
    // lineage).
    core::Lineage lineage = core::Lineage::Unset;
    int centre = 0;                     // the centre person (link resolved)
    std::vector<bool> hidden;           // index family − 1
    std::vector<FamilySurvey> families; // index family − 1
    std::vector<PersonSurvey> persons;  // index person − 1
    std::vector<int> roots;             // the persons the trees start from, in order
    int slotCount = 0;
    int 最大深度_H = 0;  // the deepest level from which the survey descended
    int centreDepth = 0; // the deepest level of stage 1
    // Ancestor tables: index 0 the centre person, i the spouse of its household i.
    std::vector<int> 先祖;
    std::vector<int> 先祖高度;
    int MAX_先祖高度 = 0;
    // Release run: the families taken in stage 1, whose hidden flags are to be cleared.
    std::vector<int> releasedFamilies;

    const FamilySurvey& family(int n) const { return families.at(static_cast<std::size_t>(n - 1)); }
    const PersonSurvey& person(int n) const { return persons.at(static_cast<std::size_t>(n - 1)); }
    // The number a person reference of the run had as registered.
    int sourceHusband(int family) const;
    int sourceWife(int family) const;
    int sourceChild(int family, int k) const;
};

// The outcome of a survey: a result or the error to show.
struct SurveyOutcome {
    std::optional<SurveyResult> result;
    std::optional<SurveyError> error;
    bool ok() const { return result.has_value(); }
};

// Runs the survey on `reg`. `answer` is asked the centre-side question when the base
// family's lineage is not set. The registers are never changed.
SurveyOutcome surveyChart(const core::Registers& reg, const SurveyOptions& options,
                          const CentreAnswer& answer);

// The release run ("直系子孫の解除") applied to the drawing settings: every family of the
// centre person's direct line loses its hidden flag. Returns the outcome of the run.
SurveyOutcome 直系子孫の解除(const core::Registers& reg, core::DrawingSettings& settings,
                             const core::Environment& env, int baseFamily,
                             const CentreAnswer& answer);

} // namespace layout
