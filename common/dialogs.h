// The boxes a program shows to the user: messages, questions, the input box and the file
// dialogs. The programs implement it with the platform's dialogs; tests use a scripted
// fake that records every box and returns prepared answers. Rules that talk to the user
// take a Dialogs& and never show anything themselves.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace common {

enum class Buttons { Ok, YesNo };
enum class Icon { None, Stop, Question, Exclamation, Information };
enum class Answer { Ok, Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box; returns the button pressed (closing the box counts as No for a
    // Yes/No box and as OK for an OK box).
    virtual Answer message(std::string_view title, std::string_view text, Buttons buttons,
                           Icon icon) = 0;

    // The input box: nullopt when cancelled, otherwise the typed text (possibly empty).
    virtual std::optional<std::string> input(std::string_view title, std::string_view prompt,
                                             std::string_view defaultText) = 0;

    // The open-file and save-file dialogs: nullopt when cancelled, otherwise the chosen
    // path. `filter` is a description with its patterns, e.g. "テキスト (*.TXT;*.CSV)".
    // `folder` is where the dialog starts (empty: the platform's choice). The save dialog
    // asks before replacing an existing file only when `confirmOverwrite` is set.
    virtual std::optional<std::string> openFile(std::string_view title, std::string_view folder,
                                                std::string_view filter) = 0;
    virtual std::optional<std::string> saveFile(std::string_view title, std::string_view folder,
                                                std::string_view proposedName,
                                                std::string_view filter,
                                                bool confirmOverwrite = true) = 0;

    // A box with `text` (kept line by line, scrolling when long) and two buttons captioned
    // `first` and `second`; true for the first. Enter, Escape and closing the box count as
    // the second. Where captions of its own cannot be shown, the
    // question is a Yes/No box, Yes standing for `first`.
    virtual bool choose(std::string_view title, std::string_view text, std::string_view first,
                        std::string_view second, Icon icon) {
        return message(title, text, Buttons::YesNo, icon) == Answer::Yes;
    }

    // Shorthands.
    void ok(std::string_view title, std::string_view text, Icon icon) {
        message(title, text, Buttons::Ok, icon);
    }
    bool yes(std::string_view title, std::string_view text, Icon icon) {
        return message(title, text, Buttons::YesNo, icon) == Answer::Yes;
    }
};

// STOP_SUB: an OK box with the exclamation icon.
inline void STOP_SUB(Dialogs& dialogs, std::string_view title, std::string_view text) {
    dialogs.ok(title, text, Icon::Exclamation);
}

} // namespace common
