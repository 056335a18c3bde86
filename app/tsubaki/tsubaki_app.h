// The chart editor's window program: the eleven forms, the data folder, the dispatch table
// from event codes to handlers, start-up and the end of the program. main() only builds a
// QApplication and a TsubakiApp with the platform's dialogs; tests build one with scripted
// dialogs and drive the forms by their control names.
//
// The event table is filled by its modules (event_table.h), each a file of its own, in one
// place and a fixed order.
#pragma once

#include "app/tsubaki/event_table.h"
#include "common/dialogs.h"
#include "core/data_folder.h"
#include "editing/person_editing.h"
#include "editing/register_history.h"

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace forms {
class MainForm;
class Form2;
class Form3;
class Form4;
class Form5;
class Form6;
class Form7;
class Form8;
class Form9;
class Form10;
class Form11;
} // namespace forms

namespace app {

class Charts;
class FamilyEditing;
class LegalCharts;
struct TsubakiAppTestHook;

struct StartOptions {
    // "KANKYO.TXT"; a relative path is taken from the working directory at start-up, and
    // the file is written back there at the end.
    std::filesystem::path environmentFile = "KANKYO.TXT";
    // The data folder given on the command line; without it the folder dialog asks.
    std::optional<std::filesystem::path> dataFolder;
};

// State of the main window and the person form.
struct PersonState {
    int selected = 0;                              // selected person
    std::string searchText;                        // given name of the last search
    std::optional<editing::PersonSession> session; // the open person form
    std::vector<int> linkCandidates;               // persons of LIST7, in list order
    int copySource = 0;                            // person chosen in FORM7
};

class TsubakiApp {
public:
    explicit TsubakiApp(common::Dialogs& dialogs);
    ~TsubakiApp();
    TsubakiApp(const TsubakiApp&) = delete;
    TsubakiApp& operator=(const TsubakiApp&) = delete;

    // Start-up in its fixed order. False when the program ended during start-up (a missing
    // or refused file, a cancelled folder dialog, a declined old register); exitCode()
    // then tells how.
    bool start(const StartOptions& options);

    // The program has ended (its windows are hidden); the code main() returns.
    bool ended() const { return ended_; }
    int exitCode() const { return exitCode_; }
    // Called once when the program ends (main quits Qt's event loop with it).
    void setEndHandler(std::function<void(int)> handler) { endHandler_ = std::move(handler); }

    // The forms.
    forms::MainForm& mainForm() { return *mainForm_; }
    forms::Form2& form2() { return *form2_; }
    forms::Form3& form3() { return *form3_; }
    forms::Form4& form4() { return *form4_; }
    forms::Form5& form5() { return *form5_; }
    forms::Form6& form6() { return *form6_; }
    forms::Form7& form7() { return *form7_; }
    forms::Form8& form8() { return *form8_; }
    forms::Form9& form9() { return *form9_; }
    forms::Form10& form10() { return *form10_; }
    forms::Form11& form11() { return *form11_; }
    std::vector<QWidget*> allForms() const;

    core::DataFolder& data() { return data_; }
    common::Dialogs& dialogs() { return dialogs_; }
    PersonState& persons() { return persons_; }
    const std::filesystem::path& environmentFile() const { return environmentFile_; }

    // ---- the dispatch table ----
    // What a control's event routine calls: runs the handler of `code` to completion.
    // Ignored while another handler runs (a control changed by a handler raises no second
    // event). A common::FileError from a handler is shown to the user. The registers before
    // the handler become a step of the undo history when the handler changed them; while
    // the person form stays open the step stays open, so that the whole form is one step.
    void dispatch(EventCode code);
    // Runs the handler of `code` from within another handler (a handler block called as a
    // subroutine). Errors pass to the caller.
    void runHandler(EventCode code);
    // Fills the table entry of `code` for `module` (through EventModule::on). Throws
    // std::logic_error when the entry is filled already or `code` is outside the table.
    void fillHandler(EventCode code, std::string_view module, std::function<void()> handler);
    bool hasHandler(EventCode code) const;
    // The module that filled the entry of `code`, empty when none did.
    std::string_view handlerModule(EventCode code) const;
    // What closing `form` through its frame does (see forms/tsubaki/form_window.h).
    void setCloseAction(QWidget* form, std::function<void()> action);

    // Run after "家族構成へ" has shown FORM2: fills its lists (family editing).
    std::function<void()> onFamilyFormOpened;

    // ---- shared helpers for handlers ----
    // Runs a writer; a common::FileError is shown ("保存できません") and false returned.
    bool save(const std::function<void()>& writer);
    // Shows MAINFORM when no form is visible.
    void ensureVisibleWindow();
    // Hides every form and ends the program with `code`.
    void end(int code);
    // Messages of errors that no handler expected (shown to the user as well); tests check
    // that there are none.
    const std::vector<std::string>& unexpectedErrors() const { return unexpectedErrors_; }

    // ---- undo and redo (history.cpp) ----
    // "元に戻す" and "やり直す" of MAINFORM, FORM2 and FORM6: the registers of the step before
    // (or after) put back, and every form showing them shown again. Nothing happens while a
    // handler runs, the person form is open, a child is being chosen or the chart settings
    // are open.
    void undo();
    void redo();
    const editing::RegisterHistory& history() const { return history_; }
    // The undo buttons of the three forms as the history and the forms' state allow.
    void showHistory();

    // ---- main window and person form (main_window.cpp, person_form.cpp) ----
    void fillPersonList();            // the person list of MAINFORM
    void selectPerson(int n);         // selects list entry n (1-based) and shows it
    void showPersonDetail(int n);     // the detail field of MAINFORM
    void updatePersonCountControls(); // "家族構成へ" and "当事者リンク" by the person count
    void openPersonForm(editing::PersonSession session); // Edit steps 1 to 5
    void closePersonForm();             // back to MAINFORM after a commit or cancel
    void cancelPersonForm();            // FORM5 closed without "リスト登録"
    std::string personFormName() const; // the edited person's name as typed

    // ---- family editing on FORM2 and FORM6 (family_handlers.h) ----
    FamilyEditing& familyEditing() { return *familyEditing_; }

    // ---- the charts: FORM4 and FORM3 (chart_handlers.h), FORM8, FORM10 and FORM11
    // (legal_handlers.h) ----
    Charts& charts() { return *charts_; }
    LegalCharts& legalCharts() { return *legalCharts_; }

private:
    // What tests may do that the program never does (tests/gui/gui_fixture.h).
    friend struct TsubakiAppTestHook;

    void connectFormEvents();
    void connectCloseActions();
    void setCaptions();
    void backUp();           // "ファイルをバックアップ": at once, silently
    void cancelLinkDialog(); // FORM9's "キャンセル" and frame
    std::string historyBlocked() const;
    void showRestoredRegisters(const std::string& guidance);
    std::optional<core::Environment> readStartEnvironment(const std::filesystem::path& file);
    std::optional<std::filesystem::path> openDataFolder(const StartOptions& options);
    // The folder of the path chosen in the folder dialog; nullopt when it was cancelled.
    std::optional<std::filesystem::path> askDataFolder();
    // A folder without a register is a new data folder only when the user says so.
    bool startsNewDataFolder(const std::filesystem::path& folder);
    bool recoverFolder(const std::filesystem::path& folder);
    bool loadFolder(const std::filesystem::path& folder, const core::Environment& env);
    void startControlStates();
    bool fail(const std::string& title, const std::string& text, int code);

    common::Dialogs& dialogs_;
    // Declared before the forms: destroyed after them, so that no signal of theirs finds
    // them gone.
    std::unique_ptr<FamilyEditing> familyEditing_;
    std::unique_ptr<Charts> charts_;
    std::unique_ptr<LegalCharts> legalCharts_;
    std::unique_ptr<forms::MainForm> mainForm_;
    std::unique_ptr<forms::Form2> form2_;
    std::unique_ptr<forms::Form3> form3_;
    std::unique_ptr<forms::Form4> form4_;
    std::unique_ptr<forms::Form5> form5_;
    std::unique_ptr<forms::Form6> form6_;
    std::unique_ptr<forms::Form7> form7_;
    std::unique_ptr<forms::Form8> form8_;
    std::unique_ptr<forms::Form9> form9_;
    std::unique_ptr<forms::Form10> form10_;
    std::unique_ptr<forms::Form11> form11_;

    struct Entry {
        std::function<void()> handler;
        std::string_view module;
    };
    Entry* entry(EventCode code);
    const Entry* entry(EventCode code) const;
    std::array<Entry, editing::kLastEventCode + 1> handlers_;
    std::map<QWidget*, std::function<void()>> closeActions_;
    bool dispatching_ = false;

    core::DataFolder data_;
    editing::RegisterHistory history_;
    PersonState persons_;
    std::filesystem::path environmentFile_;
    bool ended_ = false;
    int exitCode_ = 0;
    std::function<void(int)> endHandler_;
    std::vector<std::string> unexpectedErrors_;
};

} // namespace app
