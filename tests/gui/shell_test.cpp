// Start-up, the forms, the dispatch table, the mode toggle, backups and the end of the
// program, driven through the real forms.
#include "gui_fixture.h"
#include "tests/support/fault_ops.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QScrollBar>

#include <fstream>
#include <stdexcept>

namespace gui_test {
namespace {

// ---- the forms ---------------------------------------------------------------------------

struct FormControls {
    int form;
    const char* title;
    std::vector<const char*> controls;
};

const std::vector<FormControls>& allControls() {
    static const std::vector<FormControls> forms = {
        {0,
         "当事者目録の設定",
         {"LIST_A1A", "EDIT20", "BUTTON_A1A", "BUTTON34", "BUTTON_A3A", "BUTTON_A8A", "BUTTON39",
          "BUTTON_A26A", "BUTTON_A27A", "BUTTON_A30A", "TEXT_A15A", "BUTTON_A15A", "BUTTON49"}},
        {1,
         "家族関連の設定",
         {"LIST_A3A", "BUTTON_A9A", "BUTTON_A5A", "BUTTON_A7A", "BUTTON_A14A", "BUTTON_A16A",
          "BUTTON_A28A", "BUTTON_A29A", "BUTTON_A21A", "COMBO_A5A", "BUTTON50"}},
        {2, "系図の表示", {"PICTURE1", "HSCROLL1", "VSCROLL1", "BUTTON_A24A", "MINI", "BMP_F"}},
        {3,
         "系図表示設定",
         {"RADIO_A5A",   "RADIO_A6A",   "EDIT_A12A",   "EDIT_A13A",  "EDIT_A14A",   "EDIT_A16A",
          "EDIT_A17A",   "COMBO_A4A",   "CHECK_A6A",   "CHECK_A7A",  "CHECK_A8A",   "CHECK_A9A",
          "CHECK_A10A",  "CHECK_A11A",  "CHECK_A12A",  "CHECK_A13A", "CHECK_A14A",  "CHECK_A15A",
          "CHECK_A16A",  "CHECK_A17A",  "CHECK_A18A",  "CHECK46",    "CHECK_A19A",  "CHECK_A20A",
          "CHECK_A22A",  "CHECK_A23A",  "CHECK24",     "CHECK25",    "CHECK26",     "CHECK36",
          "CHECK40",     "CHECK43",     "EDIT21",      "EDIT22",     "GROUP3",      "RADIO8",
          "RADIO9",      "RADIO10",     "RADIO11",     "RADIO12",    "LIST_A5A",    "BUTTON_A31A",
          "BUTTON_A32A", "BUTTON_A33A", "BUTTON_A22A", "BUTTON37",   "BUTTON_A23A", "BUTTON51"}},
        {4,
         "当事者の個別データ設定",
         {"EDIT_A1A",  "EDIT_A2A", "EDIT_A3A", "EDIT_A18A", "EDIT_A4A",   "EDIT_A19A",
          "EDIT_A5A",  "EDIT_A6A", "EDIT_A7A", "EDIT_A8A",  "EDIT_A15A",  "RADIO_A3A",
          "RADIO_A4A", "CHECK45",  "CHECK35",  "TEXT_A8A",  "TEXT_A10A",  "TEXT_A11A",
          "TEXT_A14A", "TEXT_A9A", "CHECK39",  "TEXT39",    "BUTTON_A2A", "BUTTON_A25A"}},
        {5,
         "家族の詳細設定",
         {"COMBO_A1A",   "COMBO_A2A",   "BUTTON_A6A",  "BUTTON_A13A", "CHECK_A1A", "CHECK_A2A",
          "EDIT_A9A",    "BUTTON36",    "RADIO_A1A",   "RADIO_A2A",   "RADIO_A7A", "CHECK_A21A",
          "CHECK50",     "CHECK44",     "COMBO6",      "BUTTON42",    "COMBO7",    "BUTTON43",
          "BUTTON_A4A",  "LIST_A4A",    "TEXT32",      "LIST_A2A",    "TEXT31",    "BUTTON_A10A",
          "BUTTON_A11A", "BUTTON_A12A", "BUTTON_A17A", "BUTTON_A20A", "COMBO_A3A", "TEXT_A16A",
          "CHECK_A4A",   "CHECK_A3A",   "BUTTON_A18A", "EDIT_A10A",   "TEXT_A12A", "BUTTON_A19A",
          "EDIT_A11A",   "TEXT_A13A",   "CHECK_A5A"}},
        {6,
         "当事者データの複写",
         {"LIST6", "CHECK27", "CHECK28", "CHECK29", "CHECK30", "CHECK31", "CHECK32", "CHECK33",
          "CHECK34", "CHECK41", "CHECK42", "BUTTON35"}},
        {7,
         "相続関係説明図のオプション設定",
         {"CHECK37", "CHECK38", "EDIT23", "EDIT24", "EDIT25", "EDIT26", "BUTTON38"}},
        {8, "当事者のリンク元の設定", {"LIST7", "BUTTON41"}},
        {9,
         "相続人設定",
         {"LIST8", "BUTTON44", "BUTTON45", "BUTTON46", "CHECK47", "CHECK49", "EDIT32"}},
        {10,
         "申出人と作成者の設定",
         {"LIST9", "EDIT27", "EDIT28", "EDIT29", "EDIT30", "EDIT31", "BUTTON47", "BUTTON48",
          "CHECK48"}},
    };
    return forms;
}

TEST_F(Gui, EveryFormHasItsControlsCaptionsAndInitialStates) {
    testing_support::ScriptedDialogs d;
    app::TsubakiApp a(d);
    const auto forms = a.allForms();
    const std::vector<const char*> names = {"MAINFORM", "FORM2",  "FORM3", "FORM4",
                                            "FORM5",    "FORM6",  "FORM7", "FORM8",
                                            "FORM9",    "FORM10", "FORM11"};
    for (const auto& f : allControls()) {
        QWidget* form = forms[static_cast<std::size_t>(f.form)];
        EXPECT_EQ(s(form->objectName()), names[static_cast<std::size_t>(f.form)]);
        const std::string expected =
            f.form == 7 ? f.title : std::string(f.title) + std::string(core::title_text);
        EXPECT_EQ(s(form->windowTitle()), expected);
        for (const char* c : f.controls) {
            EXPECT_NE(form->findChild<QObject*>(c), nullptr) << names[f.form] << " " << c;
        }
    }
    // The menu entries of the chart view are on its menu bar.
    auto* chart = qobject_cast<QMainWindow*>(forms[2]);
    ASSERT_NE(chart, nullptr);
    std::vector<std::string> entries;
    for (const QAction* a : chart->menuBar()->actions()) {
        entries.push_back(s(a->text()));
    }
    EXPECT_EQ(entries, (std::vector<std::string>{"タスクバーへ", "ＢＭＰファイル化", "PDF保存",
                                                 "印刷", "用紙設定"}));

    // Captions the user reads.
    EXPECT_EQ(s(forms[0]->findChild<QPushButton*>("BUTTON_A15A")->text()), "終　了");
    EXPECT_EQ(s(forms[5]->findChild<QCheckBox*>("CHECK_A4A")->text()), "認　知");
    EXPECT_EQ(s(forms[5]->findChild<QLabel*>("TEXT31")->text()), "子　供　欄");

    // Initial states: the first choice of each radio group and "子供の表示を右順にする" on,
    // every other check box off.
    const std::vector<std::pair<int, const char*>> on = {
        {3, "RADIO_A5A"}, {3, "CHECK_A16A"}, {3, "RADIO8"}, {4, "RADIO_A3A"}, {5, "RADIO_A1A"}};
    for (std::size_t i = 0; i < forms.size(); ++i) {
        for (auto* box : forms[i]->findChildren<QAbstractButton*>()) {
            if (!box->isCheckable()) {
                continue;
            }
            const bool expectOn = std::any_of(on.begin(), on.end(), [&](const auto& e) {
                return e.first == static_cast<int>(i) && box->objectName() == e.second;
            });
            EXPECT_EQ(box->isChecked(), expectOn) << names[i] << " " << s(box->objectName());
        }
    }
    // No form is shown before start-up shows MAINFORM.
    for (QWidget* form : forms) {
        EXPECT_FALSE(form->isVisible());
    }
}

// ---- start-up ----------------------------------------------------------------------------

TEST_F(Gui, MissingEnvironmentFileEndsWithItsNameAndPlace) {
    writePersons({person(1, "山田", "太郎")});
    EXPECT_FALSE(start());
    EXPECT_TRUE(app->ended());
    EXPECT_EQ(app->exitCode(), 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("KANKYO.TXT"), std::string::npos);
    EXPECT_NE(dialogs.shown[0].text.find(workDir.path().string()), std::string::npos);
    EXPECT_FALSE(fs::exists(data.path() / "BACKUP"));
    EXPECT_FALSE(mainForm().isVisible());
}

TEST_F(Gui, CancelledFolderDialogTouchesNothing) {
    prepare({person(1, "山田", "太郎")});
    const auto before = common::readFile(envFile());
    app = std::make_unique<app::TsubakiApp>(dialogs);
    dialogs.answerFile(std::nullopt);
    app::StartOptions o;
    o.environmentFile = envFile();
    EXPECT_FALSE(app->start(o));
    EXPECT_TRUE(app->ended());
    EXPECT_EQ(app->exitCode(), 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, testing_support::ShownBox::Kind::SaveFile);
    EXPECT_EQ(dialogs.shown[0].title, "ファイルを保存する場所は?");
    EXPECT_EQ(dialogs.shown[0].text, "DUMMY");
    EXPECT_FALSE(fs::exists(data.path() / "BACKUP"));
    EXPECT_EQ(common::readFile(envFile()), before);
}

TEST_F(Gui, FolderDialogPicksTheFolderAndKeepsAnExistingBackup) {
    prepare({person(1, "山田", "太郎"), person(2, "山田", "花子", 2)});
    fs::create_directory(data.path() / "BACKUP");
    data.write("BACKUP/keep.txt", "x");
    app = std::make_unique<app::TsubakiApp>(dialogs);
    dialogs.answerFile((data.path() / "DUMMY").string());
    app::StartOptions o;
    o.environmentFile = envFile();
    ASSERT_TRUE(app->start(o));
    EXPECT_EQ(app->data().folder, data.path());
    EXPECT_EQ(common::readFile(data.path() / "BACKUP/keep.txt"), "x");
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_EQ(main<QListWidget>("LIST_A1A")->count(), 2);
    EXPECT_FALSE(fs::exists(data.path() / "DUMMY"));
}

TEST_F(Gui, StartUpControlStates) {
    // One person, no family, no settings.
    prepare({person(1, "山田", "太郎")});
    ASSERT_TRUE(start());
    // No "BACKUP" before the first backup.
    EXPECT_FALSE(fs::exists(data.path() / "BACKUP"));
    // "家族構成へ" is shown, but disabled, and says why.
    EXPECT_FALSE(main<QPushButton>("BUTTON_A8A")->isHidden());
    EXPECT_FALSE(main<QPushButton>("BUTTON_A8A")->isEnabled());
    EXPECT_EQ(s(main("BUTTON_A8A")->toolTip()),
              "当事者が２人以上登録されると、家族構成を設定できます");
    EXPECT_FALSE(f5<QCheckBox>("CHECK39")->isEnabled());
    EXPECT_EQ(s(f5("CHECK39")->toolTip()), "当事者が２人以上登録されると、リンクできます");
    EXPECT_FALSE(main<QPushButton>("BUTTON39")->isEnabled()); // no "作図設定.TXT"
    EXPECT_NE(s(main("BUTTON39")->toolTip()).find("作図設定.TXT"), std::string::npos);
    EXPECT_FALSE(main<QPushButton>("BUTTON34")->isEnabled());
    EXPECT_EQ(s(main("BUTTON34")->toolTip()), "リストで当事者を選ぶと編集できます");
    EXPECT_FALSE(main("undoButton")->isEnabled());
    EXPECT_EQ(s(main("undoButton")->toolTip()), "元に戻せる変更はありません");
    EXPECT_EQ(s(f5<QLabel>("TEXT_A8A")->text()), "当事者Ｎｏ :");
    EXPECT_EQ(s(main<QLabel>("TEXT_A15A")->text()), "通常モード");
    EXPECT_EQ(s(main<QPushButton>("BUTTON_A30A")->text()), "varovﾓｰﾄﾞへ");
    auto* wives = ctl<QComboBox>(form(5), "COMBO7");
    ASSERT_EQ(wives->count(), 6);
    EXPECT_EQ(s(wives->itemText(5)), "後妻");
    EXPECT_EQ(ctl<QComboBox>(form(5), "COMBO6")->count(), 1);
    EXPECT_EQ(s(ctl<QComboBox>(form(3), "COMBO_A4A")->itemText(2)), "多角数字");
    EXPECT_EQ(s(ctl<QLineEdit>(form(3), "EDIT22")->text()), "5");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Gui, DrawButtonNeedsSettingsAndNoFamilyWithoutPartners) {
    core::家族 couple;
    couple.夫NO = 1;
    couple.妻NO = 2;
    prepare({person(1, "山田", "太郎"), person(2, "山田", "花子", 2)});
    writeFamilies({couple});
    writeSettings(1, 2);
    ASSERT_TRUE(start());
    EXPECT_TRUE(main<QPushButton>("BUTTON39")->isEnabled());
    EXPECT_FALSE(main<QPushButton>("BUTTON_A8A")->isHidden());
    EXPECT_TRUE(f5<QCheckBox>("CHECK39")->isEnabled());

    writeFamilies({couple, core::家族{}}); // a family lacking both partners
    writeSettings(2, 2);
    testing_support::ScriptedDialogs d;
    app::TsubakiApp again(d);
    app::StartOptions o;
    o.environmentFile = envFile();
    o.dataFolder = data.path();
    ASSERT_TRUE(again.start(o));
    EXPECT_FALSE(again.allForms()[0]->findChild<QPushButton*>("BUTTON39")->isEnabled());
}

TEST_F(Gui, OldRegisterIsReadOnlyWhenTheUserAgrees) {
    writeEnvironment(environment());
    const std::string old = testing_support::sjisLines({"最大当事者数%=, 1 V210",
                                                        "",
                                                        "当事者NO%(1)=, 1 ",
                                                        "実父NO%(1)=, 0 ",
                                                        "実母NO%(1)=, 0 ",
                                                        "父母家族NO%(1)=, 0 ",
                                                        "子孫_F%(1)=, 0 ",
                                                        "男女%(1)=, 1 ",
                                                        "姓$(1)=,山田",
                                                        "名$(1)=,太郎",
                                                        "住所1$(1)=,",
                                                        "住所2$(1)=,",
                                                        "本籍1$(1)=,",
                                                        "本籍2$(1)=,",
                                                        "生年月日$(1)=,",
                                                        "死亡年月日$(1)=,",
                                                        "備考1$(1)=,",
                                                        "備考2$(1)=,",
                                                        "C_当事者NO%(1)=, 1 ",
                                                        "子孫_FL%(1)=, 0 ",
                                                        "当姓%(1)=, 0 "});
    data.write("当事者目録.TXT", old);
    dialogs.answerNo();
    EXPECT_FALSE(start());
    EXPECT_TRUE(app->ended());
    EXPECT_EQ(dialogs.shown.back().title, core::kOldVersionTitle);
    EXPECT_EQ(common::readFile(data.path() / "当事者目録.TXT"), old);

    testing_support::ScriptedDialogs yes;
    yes.answerYes();
    app::TsubakiApp again(yes);
    app::StartOptions o;
    o.environmentFile = envFile();
    o.dataFolder = data.path();
    ASSERT_TRUE(again.start(o));
    EXPECT_EQ(again.data().reg.personCount(), 1);
}

TEST_F(Gui, DamagedRegisterIsReportedAndNothingIsWritten) {
    writeEnvironment(environment());
    const std::string damaged =
        testing_support::sjisLines({"最大当事者数%=, 3 V220", "", "当事者NO%(1)=, 1 "});
    data.write("当事者目録.TXT", damaged);
    const auto envBefore = common::readFile(envFile());
    EXPECT_FALSE(start());
    EXPECT_EQ(app->exitCode(), 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("当事者目録.TXT"), std::string::npos);
    EXPECT_EQ(common::readFile(data.path() / "当事者目録.TXT"), damaged);
    EXPECT_EQ(common::readFile(envFile()), envBefore);
}

// ---- mode, dispatch, end -----------------------------------------------------------------

TEST_F(Gui, ModeToggleTwiceAndTheModeIsWrittenAtTheEnd) {
    prepare({person(1, "山田", "太郎")});
    ASSERT_TRUE(start());
    clickMain("BUTTON_A30A");
    EXPECT_EQ(s(main<QPushButton>("BUTTON_A30A")->text()), "通常モードへ");
    EXPECT_EQ(s(main<QLabel>("TEXT_A15A")->text()), "viraモード");
    EXPECT_EQ(app->data().env.Mode, 0);
    clickMain("BUTTON_A30A");
    EXPECT_EQ(s(main<QPushButton>("BUTTON_A30A")->text()), "varovﾓｰﾄﾞへ");
    EXPECT_EQ(s(main<QLabel>("TEXT_A15A")->text()), "通常モード");
    clickMain("BUTTON_A30A");
    clickMain("BUTTON_A15A");
    EXPECT_TRUE(app->ended());
    EXPECT_EQ(core::readEnvironment(envFile()).Mode, 0);
}

TEST_F(Gui, ViraModeStartsWithItsCaptionsAndNewPersonsGivenNameFirst) {
    auto env = environment();
    env.Mode = 0;
    writeEnvironment(env);
    writePersons({person(1, "山田", "太郎")});
    ASSERT_TRUE(start());
    EXPECT_EQ(s(main<QPushButton>("BUTTON_A30A")->text()), "通常ﾓｰﾄﾞへ");
    EXPECT_EQ(s(main<QLabel>("TEXT_A15A")->text()), "viraモード");
    add("鈴木", "一郎");
    EXPECT_EQ(app->data().reg.person(2).姓名順, 1);
    EXPECT_EQ(listLine(2), "2 (男) 一郎・鈴木　");
}

TEST_F(Gui, EndSavesRegistersAndEnvironment) {
    core::家族 f;
    f.夫NO = 1;
    f.妻NO = 2;
    prepare({person(1, "山田", "太郎"), person(2, "山田", "花子", 2)});
    writeFamilies({f});
    ASSERT_TRUE(start());
    int endedWith = -1;
    app->setEndHandler([&](int code) { endedWith = code; });
    app->data().reg.person(1).備考1 = "メモ";
    app->data().reg.family(1).妻肩書 = "後妻";
    fs::remove(envFile());
    clickMain("BUTTON_A15A");
    EXPECT_EQ(endedWith, 0);
    EXPECT_FALSE(mainForm().isVisible());
    core::DataFolder saved =
        core::DataFolder::load(data.path(), environment(), [] { return true; });
    EXPECT_EQ(saved.reg.person(1).備考1, "メモ");
    EXPECT_EQ(saved.reg.family(1).妻肩書, "後妻");
    EXPECT_TRUE(fs::exists(envFile()));
}

TEST_F(Gui, OpeningAFolderFinishesWhatAKilledSaveLeftAndSaysSo) {
    prepare({person(1, "山田", "太郎")});
    // A save killed after its journal was made durable: the staged register is whole.
    const std::string before = common::readFile(data.path() / "当事者目録.TXT");
    {
        std::vector<core::当事者> persons = {person(1, "山田", "次郎")};
        testing_support::FaultyFileOps counter;
        {
            testing_support::TempDir scratch;
            common::replaceFile(scratch.path() / "当事者目録.TXT", before);
            common::ScopedFileOps scope(counter);
            core::当事者目録_W_SUB(scratch.path(), persons);
        }
        long firstLink = 0;
        while (counter.log()[static_cast<std::size_t>(firstLink)].rfind("link", 0) != 0) {
            ++firstLink;
        }
        testing_support::FaultyFileOps kill(testing_support::FaultyFileOps::Mode::Kill, firstLink);
        common::ScopedFileOps scope(kill);
        EXPECT_THROW(core::当事者目録_W_SUB(data.path(), persons), testing_support::SimulatedKill);
    }
    EXPECT_EQ(common::readFile(data.path() / "当事者目録.TXT"), before);
    ASSERT_TRUE(start());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "データフォルダを修復しました");
    EXPECT_EQ(dialogs.shown[0].text, "中断されていた保存を完了しました（「当事者目録.TXT」"
                                     "「創始階層登録.TXT」「姓名順.TXT」）。");
    EXPECT_EQ(app->data().reg.person(1).名, "次郎");
    for (const auto& e : fs::directory_iterator(data.path())) {
        EXPECT_EQ(e.path().filename().string().front() == '.', false) << e.path();
    }
}

TEST_F(Gui, ClosingTheMainWindowActsAsExitAndAFailedSaveKeepsTheProgram) {
    prepare({person(1, "山田", "太郎")});
    ASSERT_TRUE(start());
    // A folder in the place of the register: the save fails.
    fs::remove(data.path() / "当事者目録.TXT");
    fs::create_directory(data.path() / "当事者目録.TXT");
    mainForm().close();
    EXPECT_FALSE(app->ended());
    EXPECT_TRUE(mainForm().isVisible());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "保存できません");
    EXPECT_NE(dialogs.shown[0].text.find("終了を取りやめました"), std::string::npos);

    fs::remove(data.path() / "当事者目録.TXT");
    mainForm().close();
    EXPECT_TRUE(app->ended());
    EXPECT_TRUE(fs::is_regular_file(data.path() / "当事者目録.TXT"));
}

TEST_F(Gui, FamilyFormAndBack) {
    prepare({person(1, "山田", "太郎")});
    ASSERT_TRUE(start());
    clickMain("BUTTON_A8A"); // one person: nothing
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_FALSE(form(1).isVisible());

    add("山田", "花子");
    fs::remove(data.path() / "当事者目録.TXT");
    clickMain("BUTTON_A8A");
    EXPECT_FALSE(mainForm().isVisible());
    EXPECT_TRUE(form(1).isVisible());
    EXPECT_EQ(core::readPersonRegister(data.path(), 100, [] { return true; }).size(), 2u);

    click(form(1), "BUTTON_A9A");
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_FALSE(form(1).isVisible());

    // The family form's frame ends the program as its "終　了" does.
    clickMain("BUTTON_A8A");
    form(1).close();
    EXPECT_TRUE(app->ended());
    EXPECT_TRUE(fs::exists(envFile()));
}

TEST_F(Gui, SubFormFramesCancelAndAWindowStaysVisible) {
    prepare({person(1, "山田", "太郎")});
    ASSERT_TRUE(start());
    clickMain("BUTTON_A1A");
    EXPECT_TRUE(form(4).isVisible());
    set("EDIT_A2A", "次郎");
    form(4).close();
    EXPECT_FALSE(form(4).isVisible());
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_EQ(personCount(), 1);
    EXPECT_EQ(main<QListWidget>("LIST_A1A")->count(), 1);

    // A stray sub-form closed while nothing else is shown brings MAINFORM back.
    mainForm().hide();
    form(2).show();
    form(2).close();
    EXPECT_TRUE(mainForm().isVisible());
}

TEST_F(Gui, SaveButtonWritesThePersonRegister) {
    prepare({person(1, "山田", "太郎")});
    ASSERT_TRUE(start());
    app->data().reg.person(1).住所1 = "東京都";
    clickMain("BUTTON_A3A");
    const auto persons = core::readPersonRegister(data.path(), 100, [] { return true; });
    EXPECT_EQ(persons.at(0).住所1, "東京都");
}

TEST_F(Gui, BackupButtonsCopyTheRegisterFilesIntoATimeStampedFolder) {
    prepare({person(1, "山田", "太郎")});
    ASSERT_TRUE(start());
    app->data().reg.person(1).住所1 = "未保存";
    clickMain("BUTTON49");
    click(form(1), "BUTTON50");
    click(form(3), "BUTTON51");
    std::vector<fs::path> made;
    for (const auto& e : fs::directory_iterator(data.path() / "BACKUP")) {
        made.push_back(e.path());
    }
    ASSERT_GE(made.size(), 1u);
    for (const auto& dir : made) {
        const std::string name = dir.filename().string();
        ASSERT_EQ(name.size(), 13u);
        EXPECT_EQ(name[6], '_');
        EXPECT_TRUE(std::all_of(name.begin(), name.begin() + 6, ::isdigit));
        EXPECT_EQ(common::readFile(dir / "当事者目録.TXT"),
                  common::readFile(data.path() / "当事者目録.TXT"));
        EXPECT_TRUE(fs::exists(dir / "姓名順.TXT"));
        EXPECT_FALSE(fs::exists(dir / "家族目録.TXT"));
    }
    EXPECT_TRUE(dialogs.shown.empty()); // silently
}

TEST_F(Gui, ModulesFillTheTableAndHandlersDoNotNest) {
    prepare({person(1, "山田", "太郎")});
    ASSERT_TRUE(start());
    EXPECT_TRUE(app->hasHandler(app::EventCode::InheritanceChart));
    EXPECT_TRUE(app->hasHandler(app::EventCode::BUTTON_A15A_ON));
    EXPECT_EQ(app->handlerModule(app::EventCode::InheritanceChart), "legal charts");
    EXPECT_EQ(app->handlerModule(app::EventCode::BUTTON_A15A_ON), "shutdown");
    EXPECT_EQ(app->handlerModule(app::EventCode::BUTTON_A16A_ON), "family editing");
    // A code is filled once: a second module's entry is refused, naming both.
    EXPECT_THROW(app->fillHandler(app::EventCode::BUTTON_A15A_ON, "test", [] {}), std::logic_error);
    EXPECT_THROW(app->fillHandler(static_cast<app::EventCode>(68), "test", [] {}),
                 std::logic_error);
    using Hook = app::TsubakiAppTestHook;
    Hook::replaceHandler(*app, app::EventCode::BUTTON44_ON, {}); // an entry left empty
    EXPECT_FALSE(app->hasHandler(app::EventCode::BUTTON44_ON));
    // A probe in place of an entry: a handler that dispatches is not nested.
    int calledBack = 0;
    Hook::replaceHandler(*app, app::EventCode::InheritanceChart, [&] {
        ++calledBack;
        app->dispatch(app::EventCode::BUTTON_A30A_ON); // ignored: a handler is running
    });
    app->dispatch(app::EventCode::InheritanceChart);
    EXPECT_EQ(calledBack, 1);
    EXPECT_EQ(app->data().env.Mode, 1);             // the nested dispatch did nothing
    app->dispatch(static_cast<app::EventCode>(58)); // no entry: nothing
    app->dispatch(static_cast<app::EventCode>(0));
    click(form(9), "BUTTON44"); // an empty entry: nothing
    EXPECT_TRUE(dialogs.shown.empty());
}

} // namespace
} // namespace gui_test
