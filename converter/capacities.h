// The capacities of "KANKYO.TXT" that a register written by mokuren must respect so that
// the chart editor reads it: persons, families and children per family. mokuren reads only
// these lines of the file (the first six), in the editor's order.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace converter {

// Person numbers are 16-bit in the chart editor: no register holds more than this.
inline constexpr long kMaxRegisterNumber = 32767;

struct Capacities {
    long 最大登録人数 = kMaxRegisterNumber;
    long 最大婚姻数 = kMaxRegisterNumber;
    long 一世帯当りの子供の最大数 = kMaxRegisterNumber;
    // The file the values came from; empty when none was found (only the 16-bit limit).
    std::filesystem::path source;
};

// Parses the first lines of "KANKYO.TXT" (Mode, 最大登録人数, 最大婚姻数,
// 一世帯当りの子供の最大数). Throws common::FileError naming the file and the line.
Capacities parseCapacities(std::string bytes, const std::string& fileName);

// The capacities of the first of `places` (paths of "KANKYO.TXT") that exists; the 16-bit
// limits alone when none does. Throws common::FileError for a file that cannot be read.
Capacities findCapacities(const std::vector<std::filesystem::path>& places);

} // namespace converter
