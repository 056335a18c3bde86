// A Dialogs for tests: records every box shown and answers from a prepared script. A box
// that the script does not expect fails the test (throws), so an unexpected question can
// never pass unnoticed.
#pragma once

#include "common/dialogs.h"

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace testing_support {

struct ShownBox {
    enum class Kind { Message, Input, OpenFile, SaveFile } kind = Kind::Message;
    std::string title;
    std::string text; // message text, input prompt, or the proposed file name
    common::Buttons buttons = common::Buttons::Ok;
    common::Icon icon = common::Icon::None;
    std::string first = {}; // a choice's two captions (the box counts as a Yes/No message)
    std::string second = {};
    std::string proposal = {}; // the text an input box starts with
};

class ScriptedDialogs : public common::Dialogs {
public:
    // Answers, consumed in order by the boxes that need one.
    void answerYes() { yesNo_.push_back(common::Answer::Yes); }
    void answerNo() { yesNo_.push_back(common::Answer::No); }
    void answerInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }
    void answerFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }

    common::Answer message(std::string_view title, std::string_view text, common::Buttons buttons,
                           common::Icon icon) override {
        shown.push_back(
            {ShownBox::Kind::Message, std::string(title), std::string(text), buttons, icon});
        if (buttons == common::Buttons::Ok) {
            return common::Answer::Ok;
        }
        if (yesNo_.empty()) {
            throw std::logic_error("unexpected question: " + std::string(title) + " / " +
                                   std::string(text));
        }
        const auto a = yesNo_.front();
        yesNo_.pop_front();
        return a;
    }

    // A choice is answered like a Yes/No box: answerYes picks the first caption.
    bool choose(std::string_view title, std::string_view text, std::string_view first,
                std::string_view second, common::Icon icon) override {
        const bool firstChosen =
            message(title, text, common::Buttons::YesNo, icon) == common::Answer::Yes;
        shown.back().first = std::string(first);
        shown.back().second = std::string(second);
        return firstChosen;
    }

    std::optional<std::string> input(std::string_view title, std::string_view prompt,
                                     std::string_view proposal) override {
        shown.push_back({ShownBox::Kind::Input, std::string(title), std::string(prompt)});
        shown.back().proposal = std::string(proposal);
        return next(inputs_, title);
    }

    // The input boxes shown, in order ("title / proposal").
    std::vector<std::string> inputs() const {
        std::vector<std::string> out;
        for (const auto& b : shown) {
            if (b.kind == ShownBox::Kind::Input) {
                out.push_back(b.title + " / " + b.proposal);
            }
        }
        return out;
    }

    std::optional<std::string> openFile(std::string_view title, std::string_view,
                                        std::string_view) override {
        shown.push_back({ShownBox::Kind::OpenFile, std::string(title), ""});
        return next(files_, title);
    }

    std::optional<std::string> saveFile(std::string_view title, std::string_view,
                                        std::string_view proposedName, std::string_view,
                                        bool) override {
        shown.push_back({ShownBox::Kind::SaveFile, std::string(title), std::string(proposedName)});
        return next(files_, title);
    }

    // True when every prepared answer was used.
    bool scriptUsedUp() const { return yesNo_.empty() && inputs_.empty() && files_.empty(); }

    // Titles and texts of the message boxes shown, in order ("title / text").
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& b : shown) {
            if (b.kind == ShownBox::Kind::Message) {
                out.push_back(b.title + " / " + b.text);
            }
        }
        return out;
    }

    std::vector<ShownBox> shown;

private:
    template <class T> T next(std::deque<T>& queue, std::string_view title) {
        if (queue.empty()) {
            throw std::logic_error("unexpected dialog: " + std::string(title));
        }
        T v = std::move(queue.front());
        queue.pop_front();
        return v;
    }

    std::deque<common::Answer> yesNo_;
    std::deque<std::optional<std::string>> inputs_;
    std::deque<std::optional<std::string>> files_;
};

} // namespace testing_support
