// The checks of the person form's dates before a commit: 生年月日 and 死亡年月日 are read as
// 和暦 dates (common/wareki.h). A date that is not a real date, or a death before the birth,
// is put to the user as a question; the user may keep it, since registers hold texts such
// as "不詳". An empty date asks nothing, and nothing is ever changed in a date.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace editing {

// The title of the questions.
inline constexpr std::string_view kDateQuestionTitle = "日付の確認";

// The doubts about the dates to be stored (`birth`, `death`, already through the full-width
// conversion), each one question text ending in "このまま登録しますか？". A date that is
// stored already (`storedBirth`, `storedDeath`) as it is asks nothing again; the order of
// the two is asked about when either of them changes.
std::vector<std::string> dateDoubts(std::string_view storedBirth, std::string_view storedDeath,
                                    std::string_view birth, std::string_view death);

} // namespace editing
