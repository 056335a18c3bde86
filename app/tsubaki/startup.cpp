// Start-up, in its fixed order: forms and captions (constructor), "KANKYO.TXT", the mode
// captions, MAINFORM, the data folder (a new one only when the user says so), the
// registers, the control states.
#include "app/tsubaki/tsubaki_app.h"

#include "common/file_io.h"
#include "common/folder_transaction.h"
#include "core/constants.h"
#include "core/drawing_settings.h"
#include "editing/main_window.h"
#include "forms/tsubaki/form4.h"
#include "forms/tsubaki/form6.h"
#include "forms/tsubaki/mainform.h"

namespace app {

bool TsubakiApp::start(const StartOptions& options) {
    const auto env = readStartEnvironment(options.environmentFile);
    if (!env) {
        return false;
    }
    // Mode captions (the button's half-width form only here, at start-up).
    data_.env = *env;
    mainForm_->showMode(editing::modeCaptions(env->Mode, true));

    mainForm_->show();

    const auto folder = openDataFolder(options);
    if (!folder) {
        return false;
    }

    // FORM4 shows the defaults of its text line style and indents until the folder's
    // settings are loaded into it.
    form4_->showStartValues(core::DrawingSettings());

    if (!recoverFolder(*folder) || !loadFolder(*folder, *env)) {
        return false;
    }
    startControlStates();
    return true;
}

// "KANKYO.TXT": the mode, the capacities and the title lists. Its path is kept absolute, for
// writing it back at the end.
std::optional<core::Environment>
TsubakiApp::readStartEnvironment(const std::filesystem::path& file) {
    std::error_code ec;
    environmentFile_ = std::filesystem::absolute(file, ec);
    if (ec) {
        environmentFile_ = file;
    }
    try {
        return core::readEnvironment(environmentFile_);
    } catch (const common::FileError& e) {
        fail("環境ファイルを読めません", std::string(e.what()) + "\nプログラムを終了します。", 1);
        return std::nullopt;
    }
}

// The data folder: the folder of the path chosen in the save dialog, the name ignored. A
// folder without registers becomes a new data folder only when the user says so; otherwise
// the dialog asks again. Nothing is made in the folder here: "BACKUP" comes with the first
// backup.
std::optional<std::filesystem::path> TsubakiApp::openDataFolder(const StartOptions& options) {
    std::optional<std::filesystem::path> folder = options.dataFolder;
    if (!folder) {
        folder = askDataFolder();
    }
    while (folder) {
        std::error_code ec;
        if (!std::filesystem::is_directory(*folder, ec)) {
            fail("データフォルダがありません",
                 "データフォルダ「" + folder->string() +
                     "」が見つかりません。\nプログラムを終了します。",
                 1);
            return std::nullopt;
        }
        folder = std::filesystem::absolute(*folder, ec);
        if (startsNewDataFolder(*folder)) {
            return folder;
        }
        folder = askDataFolder();
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> TsubakiApp::askDataFolder() {
    const auto chosen = dialogs_.saveFile("ファイルを保存する場所は?", "", "DUMMY", "(*.*)", false);
    if (!chosen) {
        end(0);
        return std::nullopt;
    }
    return std::filesystem::path(*chosen).parent_path();
}

bool TsubakiApp::startsNewDataFolder(const std::filesystem::path& folder) {
    if (core::holdsRegisters(folder)) {
        return true;
    }
    return dialogs_.yes("新しいデータフォルダ",
                        "「" + folder.string() + "」には当事者目録（" +
                            std::string(core::kPersonFile) +
                            "）がありません。\nここを新しいデータフォルダとして始めますか？\n"
                            "（いいえ：別のフォルダを選びます）",
                        common::Icon::Question);
}

// What a killed run left in the folder is put right before anything is read.
bool TsubakiApp::recoverFolder(const std::filesystem::path& folder) {
    try {
        const std::string recovered = common::recoverFolder(folder);
        if (!recovered.empty()) {
            dialogs_.ok("データフォルダを修復しました", recovered, common::Icon::Information);
        }
    } catch (const common::FileError& e) {
        return fail("データを読めません", std::string(e.what()) + "\nプログラムを終了します。", 1);
    }
    return true;
}

// The registers found in the folder, with the old-version question.
bool TsubakiApp::loadFolder(const std::filesystem::path& folder, const core::Environment& env) {
    try {
        data_ = core::DataFolder::load(folder, env, [this] {
            return dialogs_.yes(core::kOldVersionTitle, core::kOldVersionText,
                                common::Icon::Exclamation);
        });
    } catch (const core::OldVersionDeclined&) {
        end(0);
        return false;
    } catch (const common::FileError& e) {
        return fail("データを読めません",
                    std::string(e.what()) + "\nファイルには何も書き込まずに終了します。", 1);
    }
    return true;
}

// The forms' controls for the loaded folder; filling them raises no events.
void TsubakiApp::startControlStates() {
    fillPersonList();
    updatePersonCountControls();
    form6_->showTitleChoices(data_.env.夫, data_.env.妻);
    mainForm_->setChartAvailable(editing::whyNoChart(data_));
    mainForm_->setEditEnabled(false);
    showHistory();
}

} // namespace app
