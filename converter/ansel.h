// ANSEL (ANSI Z39.47), the 8-bit character set that older GEDCOM 5.5.1 files declare with
// "CHAR ANSEL": ASCII below 0x80, special letters and signs in 0xA1-0xC8 (with GEDCOM's
// additions), and combining diacritics in 0xE0-0xFE, which ANSEL writes before the letter
// they mark and Unicode after it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace converter {

// The text as UTF-8, each diacritic moved after its letter. nullopt, with `badOffset` set
// to the byte, for a code ANSEL does not assign.
std::optional<std::string> decodeAnsel(std::string_view bytes, std::size_t& badOffset);

} // namespace converter
