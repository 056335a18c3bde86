// The main window's rules that are not about its widgets: the mode of "KANKYO.TXT" and the
// captions that show it, what the persons and the data folder allow from the main window, and
// what the end of the program writes.
#pragma once

#include "core/data_folder.h"
#include "core/registers.h"

#include <string>
#include <vector>

namespace editing {

// Mode 1 is the normal mode; any other value is "viraモード", in which a new person starts
// with the given name first.
struct ModeCaptions {
    std::string toggle; // BUTTON_A30A: the mode the button switches to
    std::string label;  // TEXT_A15A: the mode in force
};

// The captions for `mode`. At start-up the button names the normal mode in half-width kana
// ("通常ﾓｰﾄﾞへ"); after a switch it is written in full width.
ModeCaptions modeCaptions(int mode, bool atStartUp);

// The mode after the toggle: the normal mode becomes 0, every other value 1.
int switchedMode(int mode);

// From two persons on, persons can be related: "家族構成へ" is offered and the person form's
// link box "当事者リンク" can be ticked.
bool canRelatePersons(const core::Registers& reg);
// Why "家族構成へ" cannot be used, for its tooltip; empty when it can.
std::string whyNoFamilyForm(const core::Registers& reg);
// Why the person form's "当事者リンク" cannot be ticked for lack of persons; empty when
// there are enough.
std::string whyNoLinkYet(const core::Registers& reg);

// "作図開始" of the main window: the drawing settings file was found and every family has a
// husband or a wife.
bool chartCanStart(const core::DataFolder& data);
// Why it cannot start, for its tooltip; empty when it can.
std::string whyNoChart(const core::DataFolder& data);

// The tooltip of "リスト中の当事者を編集" while no person is chosen.
inline constexpr const char* kChoosePersonFirst = "リストで当事者を選ぶと編集できます";

// What "終　了" writes: the family register when there are families, the person register
// when there are persons, in that order.
std::vector<core::Part> partsSavedAtEnd(const core::Registers& reg);

} // namespace editing
