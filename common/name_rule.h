// The name separator rule: whether "・" goes between two name parts.
#pragma once

#include <string_view>

namespace common {

// 姓名判断_SUB: `first` and `second` are the two name parts in written order. A separator
// is needed when the second part starts with katakana (ァ..ヶ) and the first ends with
// katakana or "ー", or when both touching characters are Latin letters (half- or
// full-width). Never when either part is empty.
bool 姓名判断_SUB(std::string_view first, std::string_view second);

} // namespace common
