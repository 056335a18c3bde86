// Start-up, in its fixed order: forms and captions (constructor), "KANKYO.TXT", the mode
// captions, MAINFORM, the data folder, "BACKUP", the registers, the control states.
#include "app/tsubaki/tsubaki_app.h"

#include "common/file_io.h"
#include "common/folder_transaction.h"
#include "core/backup.h"
#include "core/constants.h"
#include "forms/tsubaki/form2.h"
#include "forms/tsubaki/form4.h"
#include "forms/tsubaki/form5.h"
#include "forms/tsubaki/form6.h"
#include "forms/tsubaki/mainform.h"
#include "platform/qt_text.h"

#include "ui_form4.h"
#include "ui_form5.h"
#include "ui_form6.h"
#include "ui_mainform.h"

using platform::toQString;

namespace app {

void TsubakiApp::setModeCaptions() {
    auto& ui = mainForm_->ui();
    ui.TEXT_A15A->setText(data_.env.Mode == 1 ? "通常モード" : "viraモード");
}

bool TsubakiApp::start(const StartOptions& options) {
    // "KANKYO.TXT": the mode, the capacities and the title lists.
    std::error_code ec;
    environmentFile_ = std::filesystem::absolute(options.environmentFile, ec);
    if (ec) {
        environmentFile_ = options.environmentFile;
    }
    core::Environment env;
    try {
        env = core::readEnvironment(environmentFile_);
    } catch (const common::FileError& e) {
        return fail("環境ファイルを読めません",
                    std::string(e.what()) + "\nプログラムを終了します。", 1);
    }

    // Mode captions (the button's half-width form only here, at start-up).
    data_.env = env;
    mainForm_->ui().BUTTON_A30A->setText(env.Mode == 1 ? "varovﾓｰﾄﾞへ" : "通常ﾓｰﾄﾞへ");
    setModeCaptions();

    mainForm_->show();

    // The data folder: the folder of the path chosen in the save dialog, the name ignored.
    std::filesystem::path folder;
    if (options.dataFolder) {
        folder = *options.dataFolder;
    } else {
        const auto chosen =
            dialogs_.saveFile("ファイルを保存する場所は?", "", "DUMMY", "(*.*)", false);
        if (!chosen) {
            end(0);
            return false;
        }
        folder = std::filesystem::path(*chosen).parent_path();
    }
    if (!std::filesystem::is_directory(folder, ec)) {
        return fail("データフォルダがありません",
                    "データフォルダ「" + folder.string() +
                        "」が見つかりません。\nプログラムを終了します。",
                    1);
    }
    folder = std::filesystem::absolute(folder, ec);
    try {
        core::ensureBackupFolder(folder);
    } catch (const common::FileError& e) {
        return fail("フォルダを作れません", std::string(e.what()) + "\nプログラムを終了します。",
                    1);
    }

    // Start values of the drawing settings that only FORM4's controls hold.
    auto& f4 = form4_->ui();
    f4.COMBO_A4A->clear();
    f4.COMBO_A4A->addItems({"使わない", "普通の漢数字", "多角数字"});
    f4.RADIO8->setChecked(true);
    f4.EDIT21->setText("0");
    f4.EDIT22->setText("5");

    // What a killed run left in the folder is put right before anything is read.
    try {
        const std::string recovered = common::recoverFolder(folder);
        if (!recovered.empty()) {
            dialogs_.ok("データフォルダを修復しました", recovered, common::Icon::Information);
        }
    } catch (const common::FileError& e) {
        return fail("データを読めません", std::string(e.what()) + "\nプログラムを終了します。", 1);
    }

    // The registers found in the folder.
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

    startControlStates();
    return true;
}

void TsubakiApp::startControlStates() {
    dispatching_ = true; // filling the controls raises no events
    auto& mainUi = mainForm_->ui();
    fillPersonList();
    form5_->ui().TEXT_A8A->setText("当事者Ｎｏ :");
    updatePersonCountControls();

    auto& f6 = form6_->ui();
    f6.COMBO6->clear();
    for (const auto& title : data_.env.夫) {
        f6.COMBO6->addItem(toQString(title));
    }
    f6.COMBO7->clear();
    for (const auto& title : data_.env.妻) {
        f6.COMBO7->addItem(toQString(title));
    }

    mainUi.BUTTON39->setEnabled(data_.settingsFilePresent && !data_.hasFamilyWithoutPartners());
    mainUi.BUTTON34->setEnabled(false);
    dispatching_ = false;
}

} // namespace app
