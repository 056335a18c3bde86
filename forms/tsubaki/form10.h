// FORM10, "相続人設定": choosing the heirs of the statutory list chart.
//
// The form owns its controls: the heir list LIST8 with its selection, the heirs the law gives
// beside it (heirShares), and the options of editing::HeirOptions (CHECK47, CHECK49,
// listFormCheck "列挙形式で作成", the title addition EDIT32). "全部選択" (BUTTON44), "全部解除"
// (BUTTON45) and "設定完了" (BUTTON46) raise their event codes (eventRaised); "法定相続人を選ぶ"
// (chooseLegalHeirs) acts at once: legalHeirsRequested().
#pragma once

#include "editing/event_codes.h"
#include "editing/legal_forms.h"
#include "forms/tsubaki/form_window.h"

#include <memory>
#include <string>
#include <vector>

namespace Ui {
class FORM10;
}

namespace forms {

class Form10 : public FormWindow {
    Q_OBJECT
public:
    explicit Form10(QWidget* parent = nullptr);
    ~Form10() override;

    // The heir list anew, each entry selected or not.
    void showHeirs(const std::vector<std::string>& lines, const std::vector<bool>& selected);
    // The selection of the list's entries, in list order.
    void selectHeirs(const std::vector<bool>& selected);
    void selectAllHeirs(bool selected);
    std::vector<bool> heirSelection() const;
    // The heirs the law gives, one line each.
    void showShares(const std::vector<std::string>& lines);

    void loadOptions(const editing::HeirOptions& options);
    editing::HeirOptions typedOptions() const;
    // The title addition EDIT32 as stored, and the keyboard focus into it.
    void showTitleAddition(const std::string& text);
    void focusTitleAddition();

Q_SIGNALS:
    void eventRaised(editing::EventCode code);
    void legalHeirsRequested();

private:
    std::unique_ptr<Ui::FORM10> ui_;
};

} // namespace forms
