// The family case code of the statutory list chart: how a family's two spouses stand to
// the deceased and to the heirs, as a number 1 to 16 that the list chart turns into
// labels and register changes.
#pragma once

#include "core/registers.h"

#include <cstdint>
#include <vector>

namespace layout {

// 家族調査_SUB: the case code of `family`. `centre` is the deceased; `heirFlags` holds one
// flag per person (index person − 1; missing entries are not heirs). The main spouse is the
// husband when 系統_F is Paternal, else the wife. When the main spouse's title is "被代襲者": for
// the deceased the title becomes "夫" (or "妻") and the family is classified as usual;
// otherwise the main spouse becomes an heir and the code is 15 (husband) or 16 (wife).
int 家族調査_SUB(core::家族& family, int centre, std::vector<std::uint8_t>& heirFlags);

} // namespace layout
