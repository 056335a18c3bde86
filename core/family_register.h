// "家族目録.TXT": the family register file, its writers and its readers.
#pragma once

#include "core/registers.h"

#include <filesystem>
#include <string>
#include <vector>

namespace core {

struct FamilyLimits {
    int 最大婚姻数 = 0;               // families
    int 一世帯当りの子供の最大数 = 0; // children per family
    int personCount = 0;              // persons that references may name
};

// Parses "家族目録.TXT". With `allowOlderLayout` (the start-up reader) a file whose first
// line is the count reads in the older layout: titles "夫"/"妻", 配偶者姓F 0, and
// 配偶者非表示_F from the trailing lines. Without it (the reload reader) the version line
// is required. Throws common::FileError naming the line.
std::vector<家族> parseFamilyRegister(const std::string& bytes, const std::string& fileName,
                                      const FamilyLimits& limits, bool allowOlderLayout = true,
                                      bool* olderLayout = nullptr);

std::vector<家族> readFamilyRegister(const std::filesystem::path& folder,
                                     const FamilyLimits& limits, bool allowOlderLayout = true,
                                     bool* olderLayout = nullptr);

std::string familyRegisterBytes(const std::vector<家族>& families);

// The normal writer.
void 家族目録_W_SUB(const std::filesystem::path& folder, const std::vector<家族>& families);

// The bytes the deleting writer writes for deleting family `d` (1-based), and its
// renumbering table: renumber[old] = new number (0 for the deleted family), index 0 = 0.
std::string familyRegisterBytesWithout(const std::vector<家族>& families, int d,
                                       std::vector<int>* renumber);

// What deleting family `d` makes of the registers, before anything is written: the bytes
// of the family register without it, the persons with their 父母家族NO, 子孫_F and 子孫_FL
// renumbered, and the families as the reload reader reads them from those bytes
// (compacted to 1..n − 1). Throws common::FileError when the bytes would not read back.
struct FamilyDeletion {
    std::string bytes;
    std::vector<当事者> persons;
    std::vector<家族> families;
};
FamilyDeletion prepareFamilyDeletion(const Registers& reg, int d, const FamilyLimits& limits);

// The deleting writer (used while more than one family exists): writes the register
// without family `d` and puts the prepared persons and families in place in memory.
// Nothing changes when the write fails.
void 家族目録_SW_SUB(const std::filesystem::path& folder, Registers& reg, int d,
                     const FamilyLimits& limits);

} // namespace core
