// The Dialogs of the programs: Qt message boxes, the input box and the file dialogs.
#pragma once

#include "common/dialogs.h"

class QWidget;

namespace platform {

class QtDialogs : public common::Dialogs {
public:
    // Boxes are modal to `parent` (nullptr: application modal).
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    common::Answer message(std::string_view title, std::string_view text, common::Buttons buttons,
                           common::Icon icon) override;
    bool choose(std::string_view title, std::string_view text, std::string_view first,
                std::string_view second, common::Icon icon) override;
    std::optional<std::string> input(std::string_view title, std::string_view prompt,
                                     std::string_view defaultText) override;
    std::optional<std::string> openFile(std::string_view title, std::string_view folder,
                                        std::string_view filter) override;
    std::optional<std::string> saveFile(std::string_view title, std::string_view folder,
                                        std::string_view proposedName, std::string_view filter,
                                        bool confirmOverwrite) override;

private:
    QWidget* parent_;
};

} // namespace platform
