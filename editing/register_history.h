// The undo history of the registers: "元に戻す" and "やり直す" over every change to the
// persons and families since the data folder was opened.
//
// The history keeps whole copies of core::Registers. The program wraps each operation in
// begin() and end(): the registers before the operation become an undo step when they differ
// from the registers after it, so that no operation needs undo code of its own. A step may
// stay open over several operations (the person form, from opening it to "リスト登録"), and
// becomes one step when it closes. Operations that only choose and show (a click in a list, a
// search, opening a form) never make a step. The oldest steps go when the history passes its
// limits of steps and of memory; the newest step always stays.
#pragma once

#include "core/registers.h"
#include "editing/event_codes.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace editing {

class RegisterHistory {
public:
    struct Limits {
        std::size_t steps = 200;               // undo steps kept
        std::size_t bytes = 128 * 1024 * 1024; // memory of the undo and redo steps together
    };

    RegisterHistory() = default;
    explicit RegisterHistory(Limits limits) : limits_(limits) {}

    // Before the operation of `code`: remembers `reg` as it is, unless a step is open
    // already or the operation only chooses and shows.
    void begin(const core::Registers& reg, EventCode code);
    // After the operation: with `keepOpen` the step stays open for the next operation;
    // otherwise it closes, and the registers remembered become an undo step when `reg`
    // differs from them (the redo steps then go).
    void end(const core::Registers& reg, bool keepOpen = false);
    bool stepOpen() const { return open_.has_value(); }

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // What the next undo and redo take back or do again, e.g. "家族の削除".
    std::string undoName() const { return canUndo() ? undo_.back().name : std::string(); }
    std::string redoName() const { return canRedo() ? redo_.back().name : std::string(); }
    std::size_t undoSteps() const { return undo_.size(); }
    std::size_t redoSteps() const { return redo_.size(); }

    // Puts the registers of the last step back into `reg` (which becomes a redo step).
    // False, with `reg` unchanged, when there is nothing to undo or a step is open.
    bool undo(core::Registers& reg);
    // Does the last undone step again. False when there is nothing to redo or a step is open.
    bool redo(core::Registers& reg);

    // Forgets every step (another data folder).
    void clear();

private:
    struct Step {
        core::Registers registers;
        std::string name;
        std::size_t bytes = 0;
    };
    struct Open {
        core::Registers before;
        std::string name;
    };

    void push(std::vector<Step>& stack, core::Registers reg, std::string name);
    void trim();

    Limits limits_;
    std::vector<Step> undo_; // the newest last
    std::vector<Step> redo_; // the next to redo last
    std::optional<Open> open_;
    std::size_t bytes_ = 0;
};

// The memory a copy of `reg` takes, roughly: its records and the text they hold.
std::size_t registerBytes(const core::Registers& reg);

// The name of the change the operation of `code` makes ("当事者の追加", "家族の削除" ...), or
// nullopt for an operation that only chooses, searches, shows or saves.
std::optional<std::string> changeName(EventCode code);

// What the undo and redo buttons of a form show.
struct UndoView {
    bool undoEnabled = false;
    bool redoEnabled = false;
    std::string undoTip; // "「家族の削除」を元に戻します（Ctrl+Z）", or why nothing can be undone
    std::string redoTip;
};

// The buttons' states for `history`. `blocked` says why no step can be taken back or done
// again just now (a child being chosen, the chart settings open); empty when nothing stands
// in the way.
UndoView undoView(const RegisterHistory& history, const std::string& blocked = {});

} // namespace editing
