// The name text of a chart block: the composed name, the spread-out form and the label
// in front of it. Lists and messages use editing's joined name instead; a chart block
// composes its name by these rules.
#pragma once

#include "core/registers.h"

#include <string>

namespace layout {

// The switches of the drawing settings that name composition reads.
struct NameOptions {
    bool listChart = false;               // "法定相続情報一覧図にする"
    bool 氏名を１文字間隔で表示 = false;  // spread names out
    bool 姓と名の間に___を付ける = false; // "姓と名の間に[・]を付ける" (list chart only)
    bool 本家と同じ名字は省略する = false; // (list chart only)
};

// 氏名空白挿入_SUB: the characters of `name` separated by one "　" each; a name of one
// character, and a name that starts with "（", are returned unchanged.
std::string 氏名空白挿入_SUB(const std::string& name);

// P_氏名結合_SUB: the name of `p` as a chart block shows it. `deceased` is the person at
// the centre of the chart (its surname decides the omission of the list chart); pass
// nullptr when there is none. `isDeceased` tells whether `p` is that person.
// A person whose 当姓 is 1 ("姓は系図に表示しない") shows no surname on any chart.
std::string P_氏名結合_SUB(const core::当事者& p, const NameOptions& options,
                           const core::当事者* deceased = nullptr, bool isDeceased = false);

// 氏名字下げ_SUB1 / 氏名字下げ_SUB2: `label` put in front of `name` within a prefix of
// `indent` ideographic spaces. A label shorter than the indent overwrites the start of
// the prefix; a longer one simply precedes the name.
std::string 氏名字下げ(const std::string& name, const std::string& label, int indent);

// The label of a spouse block (氏名字下げ_SUB1): "（夫）"/"（妻）" on the explanation
// chart, else the household title in brackets, or nothing when the title is empty.
std::string spouseLabel(bool male, const std::string& householdTitle, bool explanationChart);

// The label of a head or child block (氏名字下げ_SUB2): "（被）" for the deceased on the
// explanation chart, else the child's title followed by "　".
std::string headLabel(const std::string& childTitle, bool isDeceased, bool explanationChart);

} // namespace layout
