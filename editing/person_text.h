// Texts the user types into a form, on their way into a register: every one passes the
// full-width conversion, and a character Shift-JIS cannot hold is never stored as
// something else without the user agreeing.
#pragma once

#include "common/dialogs.h"

#include <optional>
#include <string>
#include <string_view>

namespace editing {

// The typed `text` of the field called `fieldLabel` (as the form shows it), converted to
// full width. When the text holds a character that Shift-JIS cannot hold, the user is told
// which character in which field and asked whether to store it as "■"; nullopt when the
// user declines (the caller then stores nothing and leaves the form open).
std::optional<std::string> storedText(common::Dialogs& dialogs, std::string_view fieldLabel,
                                      std::string_view text);

// `text` with every character that Shift-JIS cannot hold (and any invalid UTF-8) replaced by
// "■".
std::string replaceUnencodable(std::string_view text);

// A whole number typed by the user: half- or full-width digits with an optional sign,
// blanks around it ignored; an empty text is 0. nullopt when it is not a number or lies
// outside -32768..32767.
std::optional<int> typedInteger(std::string_view text);

// Str$ of a number: a leading blank for a value that is not negative (" 12", "-3").
std::string strNumber(int value);

} // namespace editing
