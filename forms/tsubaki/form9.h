// FORM9, "当事者のリンク元の設定": choosing the source a person links to.
//
// The form owns its controls. A click on an entry of LIST7, or Enter on it, raises
// LIST7_CLICK while the dialog is shown; "キャンセル" (BUTTON41) acts at once:
// cancelRequested().
#pragma once

#include "editing/event_codes.h"
#include "forms/tsubaki/form_window.h"

#include <memory>
#include <string>
#include <vector>

namespace Ui {
class FORM9;
}

namespace forms {

class Form9 : public FormWindow {
    Q_OBJECT
public:
    explicit Form9(QWidget* parent = nullptr);
    ~Form9() override;

    // The candidate sources, one line each.
    void showCandidates(const std::vector<std::string>& lines);
    // The entry chosen (0-based), -1 for none.
    int chosenEntry() const;

Q_SIGNALS:
    void eventRaised(editing::EventCode code);
    void cancelRequested();

private:
    std::unique_ptr<Ui::FORM9> ui_;
};

} // namespace forms
