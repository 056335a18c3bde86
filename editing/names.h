// The name routines every list and message uses.
#pragma once

#include "core/registers.h"

#include <string>

namespace editing {

// 氏名結合_SUB: 姓 and 名 joined in the person's name order. Surname first: "・" between
// the parts when the separator rule asks for it; given name first: always "・" when both
// parts are present.
std::string 氏名結合_SUB(const core::当事者& p);

// The joined name, or "氏名不詳" when it is empty: the name(p) of lists and messages.
std::string displayName(const core::当事者& p);
std::string displayName(const core::Registers& reg, int person);

} // namespace editing
