// MAINFORM, the main window "当事者目録の設定": the person list, the selected person's details,
// the mode, backup and the way on to the family form.
//
// The form owns its controls. Its buttons raise their event codes (eventRaised); choosing a
// person in the list LIST_A1A raises LIST_A1A_CLICK and enables "リスト中の当事者を編集"
// (BUTTON34), which raises BUTTON34_ON only while a person is chosen. "ファイルをバックアップ"
// (BUTTON49) acts at once: backupRequested(); so do "元に戻す" (Ctrl+Z) and "やり直す"
// (Ctrl+Y): undoRequested(), redoRequested(). What the program shows comes in through the
// typed calls below, none of which raises an event. A button that cannot act is disabled and
// says why in its tooltip; the guidance line says what the last action could not do.
#pragma once

#include "editing/event_codes.h"
#include "editing/main_window.h"
#include "editing/register_history.h"
#include "forms/tsubaki/form_window.h"

#include <memory>
#include <string>
#include <vector>

namespace Ui {
class MAINFORM;
}

namespace forms {

class MainForm : public FormWindow {
    Q_OBJECT
public:
    explicit MainForm(QWidget* parent = nullptr);
    ~MainForm() override;

    // The person list LIST_A1A anew, one line per person, none chosen.
    void showPersons(const std::vector<std::string>& lines);
    // Chooses person n (1-based) in the list; "リスト中の当事者を編集" is enabled when the
    // list has that entry.
    void selectPerson(int n);
    // No person chosen in the list.
    void clearSelection();
    // The person chosen in the list (1-based), 0 for none.
    int selectedPerson() const;
    // The detail field EDIT20: `text` has its lines ended by CR LF, shown as plain breaks.
    void showDetail(const std::string& text);
    void clearDetail();

    void setEditEnabled(bool enabled); // "リスト中の当事者を編集" (BUTTON34)
    // "家族構成へ" (BUTTON_A8A) and "作図開始" (BUTTON39): enabled when `whyNot` is empty,
    // else disabled with `whyNot` as the tooltip.
    void setFamilyFormAvailable(const std::string& whyNot);
    void setChartAvailable(const std::string& whyNot);
    void showMode(const editing::ModeCaptions& captions); // BUTTON_A30A and TEXT_A15A
    // The one-line guidance below the buttons; empty clears it.
    void showGuidance(const std::string& text);
    std::string guidance() const;
    void showUndo(const editing::UndoView& view); // "元に戻す", "やり直す"

Q_SIGNALS:
    void eventRaised(editing::EventCode code);
    void backupRequested();
    void undoRequested();
    void redoRequested();

private:
    std::unique_ptr<Ui::MAINFORM> ui_;
};

} // namespace forms
