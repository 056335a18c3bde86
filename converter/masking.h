// Masking and restoring a data folder.
//
// Masking sets the real register aside as "9_当事者目録.TXT" (and the drawing settings as
// "9_作図設定.TXT") and puts in their place copies whose names are replaced by common
// Japanese names, whose addresses and domiciles are derived from the new names, whose
// remarks are empty and whose settings hold no names or addresses. Restoring moves the
// set-aside files back. A folder is therefore either unmasked or masked, never both.
#pragma once

#include "converter/job.h"
#include "converter/person_register.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>

namespace converter {

enum class NameTable { Surname, Male, Female };

// The 50 entries of a name table, in table order.
const std::array<std::string_view, 50>& tableEntries(NameTable table);

// The suffix of a replacement drawn in cycle `cycle`: none in cycle 0, "Ａ" in cycle 1 up
// to "Ｚ" in cycle 26, then "ＡＡ", "ＡＢ", ... so that a replacement never repeats
// however many names are drawn.
std::string cycleSuffix(int cycle);

// Draws replacement names from the three tables. Within one cycle every entry of a table is
// handed out once, in random order; the next cycle hands them out again with the next
// suffix.
class NameDrawer {
public:
    // Returns a uniformly chosen index in 0..49.
    using Picker = std::function<int()>;

    // Picks with a Mersenne Twister seeded with `seed` (the program passes clockSeed()).
    explicit NameDrawer(std::uint32_t seed);
    // Picks with `picker` (tests).
    explicit NameDrawer(Picker picker);
    NameDrawer(const NameDrawer&) = delete; // the default picker refers to this object
    NameDrawer& operator=(const NameDrawer&) = delete;

    // A replacement from `table` that differs from `real` (the name it replaces): an entry
    // that would give `real` back is passed over, and when it is the last one left in the
    // cycle the cycle ends without it.
    std::string draw(NameTable table, std::string_view real = {});

private:
    struct State {
        std::array<int, 50> marks{}; // cycle in which the entry was last handed out, plus 1
        int cycle = 0;
        int picks = 0; // accepted draws in this cycle
    };
    State states_[3];
    Picker pick_;
    std::mt19937 rng_;
};

// Seconds since local midnight modulo 32767: the seed the program uses.
std::uint32_t clockSeed();

// Replaces names, addresses, domiciles and remarks of a register. One real surname always
// gets the same replacement surname; every given name gets a new draw, from the male table
// for men (男女 below 2) and from the female table otherwise. A replacement never equals
// the name it replaces.
class Masker {
public:
    explicit Masker(NameDrawer& drawer) : drawer_(drawer) {}

    PersonRegister mask(PersonRegister reg);
    void maskPerson(当事者& p);

private:
    NameDrawer& drawer_;
    std::unordered_map<std::string, std::string> surnames_; // real -> replacement
};

// The masked copy of "作図設定.TXT" (raw Shift-JIS bytes in and out): the per-family list
// texts become "i : ＊＊＊＊＊＊＊＊＊＊", non-empty names and addresses of the legal chart
// headings become "＊＊＊＊", every other line is copied as it stands. Throws
// common::FileError naming the line when the family list cannot be read.
std::string maskedSettingsBytes(std::string bytes);

// Masks the data folder `folder`. Refuses (message "既に変換済です") a folder that already
// holds a set-aside register. Everything is read and prepared first; the set-aside copies
// and the masked files are then written in one folder transaction, so the folder is
// either fully masked or as it was, even after a kill. Errors are shown through `dialogs`.
JobOutcome maskFolder(const std::filesystem::path& folder, common::Dialogs& dialogs,
                      NameDrawer& drawer);

// Restores the data folder `folder` in one folder transaction; refuses (message
// "この当事者目録はオリジナルです") a folder without a set-aside register.
JobOutcome restoreFolder(const std::filesystem::path& folder, common::Dialogs& dialogs);

} // namespace converter
