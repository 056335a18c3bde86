// mokuren's forms driven by their control names, with scripted dialogs.
#include "app/mokuren/mokuren_program.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "converter/person_register.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using testing_support::ScriptedDialogs;
using testing_support::TempDir;

namespace {

const fs::path kSamples = TSUBAKI_SAMPLES_DIR;

QApplication& app() {
    static int argc = 1;
    static char name[] = "mokuren_gui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication instance(argc, argv);
    return instance;
}

template <class T> T* control(QWidget& form, const char* name) {
    T* w = form.findChild<T*>(name);
    if (w == nullptr) {
        throw std::runtime_error(std::string("no control ") + name);
    }
    return w;
}

std::vector<std::string> items(QListWidget* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i) {
        out.push_back(list->item(i)->text().toStdString());
    }
    return out;
}

void select(QListWidget* list, std::initializer_list<const char*> texts) {
    list->clearSelection();
    for (const char* t : texts) {
        const auto found = list->findItems(QString::fromUtf8(t), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << t;
        found[0]->setSelected(true);
    }
}

class MokurenForms : public ::testing::Test {
protected:
    MokurenForms()
        : program_(
              dialogs_, [this] { ++quits_; }, dir_.path()) {
        app();
        program_.setSeedSource([] { return 7u; });
        program_.start();
    }
    QWidget& main() { return program_.mainForm(); }
    QWidget& form2() { return program_.exportForm(); }
    QWidget& form3() { return program_.importForm(); }
    void click(QWidget& form, const char* button) { control<QPushButton>(form, button)->click(); }
    void tick(QWidget& form, const char* box, bool on = true) {
        control<QCheckBox>(form, box)->setChecked(on);
    }
    bool enabled(QWidget& form, const char* name) {
        return control<QWidget>(form, name)->isEnabled();
    }
    void copySamples() {
        for (const auto& e : fs::directory_iterator(kSamples)) {
            fs::copy_file(e.path(), dir_.path() / e.path().filename());
        }
    }

    struct Application {
        Application() { app(); }
    } application_; // before any widget
    TempDir dir_;
    ScriptedDialogs dialogs_;
    int quits_ = 0;
    mokuren::Program program_;
};

TEST_F(MokurenForms, MainFormStartsWithExportAndTheHeaderBox) {
    EXPECT_EQ(main().objectName(), "MAINFORM");
    EXPECT_TRUE(main().isVisible());
    EXPECT_TRUE(control<QRadioButton>(main(), "RADIO1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(main(), "RADIO3")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(main(), "CHECK1")->isChecked());
    EXPECT_EQ(control<QPushButton>(main(), "BUTTON1")->text().toStdString(), "実　行");
    // Closing the main form ends the program.
    main().close();
    EXPECT_EQ(quits_, 1);
}

// A folder in which a killed run left a temporary file: choosing its register first puts
// the folder right and says so in one box.
TEST_F(MokurenForms, ChoosingAFolderAKilledRunLeftSaysWhatWasRecovered) {
    copySamples();
    dir_.write(".家族目録.TXT.tmpAbCd12", "half written");
    dialogs_.answerFile((dir_.path() / "当事者目録.TXT").string());
    click(main(), "BUTTON1");
    EXPECT_FALSE(fs::exists(dir_.path() / ".家族目録.TXT.tmpAbCd12"));
    const auto messages = dialogs_.messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front().rfind("データフォルダを修復しました / ", 0), 0u) << messages.front();
    EXPECT_NE(messages.front().find("一時ファイルを 1 個削除しました"), std::string::npos)
        << messages.front();
    EXPECT_TRUE(form2().isVisible()) << "the export goes on with the folder put right";
}

TEST_F(MokurenForms, ImportFormBuildsARegisterFromTheAssignedColumns) {
    std::ofstream(dir_.path() / "people.csv", std::ios::binary)
        << common::encodeCp932("番号,氏名,性別,住所\r\n"
                               "1,山田太郎,男,東京都 港区\r\n"
                               "2,佐々木花子,女,\"大阪府,北区\"\r\n"
                               "3,鈴木,女,札幌,余分\r\n");
    dir_.write("当事者目録.TXT", "an older register");
    dialogs_.answerFile((dir_.path() / "people.csv").string());

    control<QRadioButton>(main(), "RADIO2")->setChecked(true);
    click(main(), "BUTTON1");
    EXPECT_FALSE(main().isVisible());
    ASSERT_TRUE(form3().isVisible());
    EXPECT_TRUE(form3().isEnabled());
    EXPECT_EQ(form3().objectName(), "FORM3");
    EXPECT_EQ(dialogs_.shown.at(0).title, "データファイルの読み込み");
    auto* list2 = control<QListWidget>(form3(), "LIST2");
    EXPECT_EQ(items(list2),
              (std::vector<std::string>{"該当無し", "男・女", "M・F", "男ならYes", "女ならYes"}));
    EXPECT_EQ(list2->currentRow(), 1);
    auto* list3 = control<QListWidget>(form3(), "LIST3");
    auto* list4 = control<QListWidget>(form3(), "LIST4");
    EXPECT_EQ(items(list3), (std::vector<std::string>{"番号", "氏名", "性別", "住所"}));

    // Enabling rules before the chart.
    EXPECT_FALSE(enabled(form3(), "LIST2"));
    EXPECT_FALSE(enabled(form3(), "CHECK6"));
    EXPECT_FALSE(enabled(form3(), "BUTTON7"));
    EXPECT_FALSE(enabled(form3(), "BUTTON9"));
    tick(form3(), "CHECK3");
    EXPECT_TRUE(enabled(form3(), "LIST2"));
    EXPECT_TRUE(enabled(form3(), "TEXT4"));
    tick(form3(), "CHECK4");
    EXPECT_FALSE(enabled(form3(), "COMBO1"));
    EXPECT_FALSE(enabled(form3(), "BUTTON4"));
    tick(form3(), "CHECK4", false);
    EXPECT_TRUE(enabled(form3(), "COMBO1"));
    tick(form3(), "CHECK5");
    EXPECT_TRUE(enabled(form3(), "CHECK6"));

    // Registered surnames: typed half-width is stored full-width.
    auto* combo = control<QComboBox>(form3(), "COMBO1");
    combo->setEditText(QString::fromUtf8("佐々木"));
    click(form3(), "BUTTON4");
    combo->setEditText(QString::fromUtf8("ﾔﾏﾀﾞ"));
    click(form3(), "BUTTON4");
    combo->setEditText(QString::fromUtf8("山田"));
    click(form3(), "BUTTON4");
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(1).toStdString(), "ヤマダ");
    combo->setCurrentIndex(1);
    click(form3(), "BUTTON5");
    EXPECT_EQ(combo->count(), 2);

    click(form3(), "BUTTON6");
    EXPECT_EQ(control<QPlainTextEdit>(form3(), "Edit3")->toPlainText().toStdString(),
              "登録チャート\n性別、氏名、住所、の順に登録して下さい。");
    EXPECT_TRUE(enabled(form3(), "BUTTON7"));
    EXPECT_TRUE(enabled(form3(), "BUTTON9"));

    // Assign: 性別 first, then 氏名 and 番号 (by mistake), take 番号 back, add 住所.
    select(list3, {"性別"});
    click(form3(), "BUTTON7");
    select(list3, {"番号", "氏名"});
    click(form3(), "BUTTON7");
    EXPECT_EQ(items(list4), (std::vector<std::string>{"性別", "番号", "氏名"}));
    EXPECT_EQ(items(list3), (std::vector<std::string>{"住所"}));
    select(list4, {"番号"});
    click(form3(), "BUTTON8");
    select(list3, {"住所"});
    click(form3(), "BUTTON7");
    EXPECT_EQ(items(list4), (std::vector<std::string>{"性別", "氏名", "住所"}));
    EXPECT_EQ(items(list3), (std::vector<std::string>{"番号"}));

    // Changing a choice asks for a new chart before importing.
    tick(form3(), "CHECK9");
    EXPECT_FALSE(enabled(form3(), "BUTTON9"));
    tick(form3(), "CHECK9", false);
    EXPECT_FALSE(enabled(form3(), "BUTTON9"));
    click(form3(), "BUTTON6");
    ASSERT_TRUE(enabled(form3(), "BUTTON9"));

    // Import: the typed name is replaced by 当事者目録.TXT, which exists: asked, Yes.
    dialogs_.answerFile((dir_.path() / "x.TXT").string());
    dialogs_.answerYes();
    click(form3(), "BUTTON9");
    EXPECT_EQ(quits_, 1);
    EXPECT_TRUE(dialogs_.scriptUsedUp());
    const auto messages = dialogs_.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0],
              (dir_.path() / "当事者目録.TXT").string() + "は既に存在します。 / 上書きしますか？");
    EXPECT_NE(messages[1].find("4 行目"), std::string::npos) << messages[1];
    EXPECT_FALSE(fs::exists(dir_.path() / "x.TXT"));

    const auto reg = converter::readPersonRegister(dir_.path());
    ASSERT_EQ(reg.count(), 3); // the header line is no person
    EXPECT_EQ(reg.persons[0].姓, "山田");
    EXPECT_EQ(reg.persons[0].名, "太郎");
    EXPECT_EQ(reg.persons[0].男女, 1);
    EXPECT_EQ(reg.persons[0].住所1, "東京都港区");
    EXPECT_EQ(reg.persons[1].姓, "佐々木");
    EXPECT_EQ(reg.persons[1].名, "花子");
    EXPECT_EQ(reg.persons[1].住所1, "大阪府，北区");
    EXPECT_EQ(reg.persons[2].名, "鈴木");
    EXPECT_EQ(reg.persons[2].男女, 2);
}

TEST_F(MokurenForms, ImportWithoutAssignmentsKeepsTheForm) {
    std::ofstream(dir_.path() / "a.csv", std::ios::binary) << "氏名\r\n山田\r\n";
    dialogs_.answerFile((dir_.path() / "a.csv").string());
    control<QRadioButton>(main(), "RADIO2")->setChecked(true);
    click(main(), "BUTTON1");
    click(form3(), "BUTTON6");
    click(form3(), "BUTTON9");
    ASSERT_EQ(dialogs_.shown.size(), 2u);
    EXPECT_NE(dialogs_.shown[1].text.find("割り当てられていません"), std::string::npos);
    EXPECT_TRUE(form3().isVisible());
    EXPECT_EQ(quits_, 0);
    click(form3(), "BUTTON10"); // キャンセル ends the program
    EXPECT_EQ(quits_, 1);
    EXPECT_FALSE(fs::exists(dir_.path() / "当事者目録.TXT"));
}

TEST_F(MokurenForms, ExportFormOfAnOldRegisterOffersTheLimits) {
    std::vector<std::string> lines = {"最大当事者数%=, 1 ",
                                      "",
                                      "当事者NO%(1)=, 1 ",
                                      "実父NO%(1)=, 0 ",
                                      "実母NO%(1)=, 0 ",
                                      "父母家族NO%(1)=, 0 ",
                                      "子孫_F%(1)=, 0 ",
                                      "男女%(1)=, 2 ",
                                      "姓$(1)=,山田",
                                      "名$(1)=,花子",
                                      "住所$(1)=,東京都世田谷区北沢三丁目１２",
                                      "本籍$(1)=,長野県",
                                      "生年月日$(1)=,",
                                      "死亡年月日$(1)=,",
                                      "備考1$(1)=,",
                                      "備考2$(1)=,"};
    dir_.write("当事者目録.TXT", testing_support::sjisLines(lines));
    dialogs_.answerFile((dir_.path() / "当事者目録.TXT").string());
    click(main(), "BUTTON1");
    ASSERT_TRUE(form2().isVisible());
    EXPECT_EQ(dialogs_.shown.at(0).title, "当事者目録を読み込みます");
    auto* edit1 = control<QLineEdit>(form2(), "Edit1");
    EXPECT_FALSE(edit1->isHidden());
    EXPECT_EQ(edit1->text().toStdString(), "14");
    EXPECT_EQ(control<QLineEdit>(form2(), "Edit2")->text().toStdString(), "3");
    EXPECT_TRUE(control<QCheckBox>(form2(), "CHECK13")->isHidden());
    EXPECT_EQ(control<QListWidget>(form2(), "LIST1")->currentRow(), 1);

    // A limit that is not a number is reported and the form stays.
    edit1->setText("abc");
    click(form2(), "BUTTON2");
    EXPECT_TRUE(form2().isVisible());
    EXPECT_NE(dialogs_.messages().back().find("abc"), std::string::npos);

    edit1->setText("１０");
    control<QListWidget>(form2(), "LIST1")->setCurrentRow(0);
    dialogs_.answerFile((dir_.path() / "out").string());
    click(form2(), "BUTTON2");
    EXPECT_EQ(quits_, 1);
    EXPECT_EQ(common::decodeCp932(common::readFile(dir_.path() / "out.TXT")),
              "\"姓\",\"名\",\"住所１\",\"住所２\",\"本籍\",\"生年月日\",\"死亡年月日\","
              "\"備考１\",\"備考２\"\r\n"
              "\"山田\",\"花子\",\"東京都世田谷区北沢三\",\"丁目１２\",\"長野県\",\"\",\"\","
              "\"\",\"\"\r\n");
}

TEST_F(MokurenForms, ExportReadErrorReturnsToTheMainForm) {
    dir_.write("当事者目録.TXT", "最大当事者数%=, 3 V220\r\n");
    dialogs_.answerFile((dir_.path() / "当事者目録.TXT").string());
    click(main(), "BUTTON1");
    ASSERT_EQ(dialogs_.shown.size(), 2u);
    EXPECT_EQ(dialogs_.shown[1].title, "当事者目録を読み込めません");
    EXPECT_TRUE(main().isVisible());
    EXPECT_FALSE(form2().isVisible());
    EXPECT_EQ(quits_, 0);
}

TEST_F(MokurenForms, MaskAndRestoreEndTheProgram) {
    copySamples();
    const std::string persons = common::readFile(dir_.path() / "当事者目録.TXT");
    control<QRadioButton>(main(), "RADIO3")->setChecked(true);
    dialogs_.answerFile((dir_.path() / "当事者目録.TXT").string());
    click(main(), "BUTTON1");
    EXPECT_EQ(quits_, 1);
    EXPECT_EQ(common::readFile(dir_.path() / "9_当事者目録.TXT"), persons);

    control<QRadioButton>(main(), "RADIO4")->setChecked(true);
    dialogs_.answerFile((dir_.path() / "当事者目録.TXT").string());
    click(main(), "BUTTON1");
    EXPECT_EQ(quits_, 2);
    EXPECT_EQ(dialogs_.shown.back().title, "元に戻す当事者目録を読み込みます");
    EXPECT_EQ(common::readFile(dir_.path() / "当事者目録.TXT"), persons);

    // Cancelling the dialog ends the program too, with nothing changed.
    dialogs_.answerFile(std::nullopt);
    click(main(), "BUTTON1");
    EXPECT_EQ(quits_, 3);
    EXPECT_TRUE(dialogs_.messages().empty());
}

TEST_F(MokurenForms, GedcomExportAndImportBesideTheCsvJobs) {
    copySamples();
    auto* combo = control<QComboBox>(main(), "COMBO1");
    EXPECT_FALSE(combo->isEnabled()); // the version belongs to the export
    control<QRadioButton>(main(), "RADIO5")->setChecked(true);
    EXPECT_TRUE(combo->isEnabled());
    EXPECT_EQ(combo->currentText().toStdString(), "5.5.1");
    combo->setCurrentIndex(1);
    dialogs_.answerFile((dir_.path() / "当事者目録.TXT").string());
    dialogs_.answerFile((dir_.path() / "family").string());
    click(main(), "BUTTON1");
    EXPECT_EQ(quits_, 1);
    EXPECT_EQ(dialogs_.shown.at(0).title, "当事者目録を読み込みます");
    EXPECT_EQ(dialogs_.shown.at(1).title, "GEDCOMファイルの書き込み");
    EXPECT_EQ(dialogs_.shown.at(1).text, "家系.ged");
    const std::string text = common::readFile(dir_.path() / "family.ged");
    EXPECT_EQ(text.rfind("0 HEAD\r\n1 GEDC\r\n2 VERS 7.0\r\n", 0), 0u);

    // Into a new folder: the file dialog, then the folder to write into; no question there.
    fs::create_directories(dir_.path() / "new");
    control<QRadioButton>(main(), "RADIO6")->setChecked(true);
    EXPECT_FALSE(combo->isEnabled());
    dialogs_.answerFile((dir_.path() / "family.ged").string());
    dialogs_.answerFile((dir_.path() / "new" / "名前は何でも.TXT").string());
    dialogs_.shown.clear();
    click(main(), "BUTTON1");
    EXPECT_EQ(quits_, 2);
    EXPECT_TRUE(dialogs_.scriptUsedUp());
    ASSERT_EQ(dialogs_.shown.size(), 3u);
    EXPECT_EQ(dialogs_.shown[0].title, "GEDCOMファイルの読み込み");
    EXPECT_EQ(dialogs_.shown[1].title, "当事者目録の書き込み");
    EXPECT_EQ(dialogs_.shown[2].title, "GEDCOMファイルを取り込みました");
    EXPECT_EQ(dialogs_.shown[2].icon, common::Icon::Information);
    // KANKYO.TXT of the folder the program started in gave the capacities.
    EXPECT_EQ(dialogs_.shown[2].text.find("見つからない"), std::string::npos)
        << dialogs_.shown[2].text;
    for (const char* name : {"当事者目録.TXT", "創始階層登録.TXT", "姓名順.TXT", "家族目録.TXT"}) {
        EXPECT_EQ(common::readFile(dir_.path() / "new" / name),
                  common::readFile(dir_.path() / name))
            << name;
    }
}

TEST_F(MokurenForms, AGedcomFileThatCannotBeImportedReturnsToTheMainForm) {
    dir_.write("bad.ged", "0 HEAD\r\n1 GEDC\r\n2 VERS 5.5.1\r\n0 @I1@ INDI\r\n1 FAMS @F1@\r\n");
    control<QRadioButton>(main(), "RADIO6")->setChecked(true);
    dialogs_.answerFile((dir_.path() / "bad.ged").string());
    click(main(), "BUTTON1");
    ASSERT_EQ(dialogs_.shown.size(), 2u);
    EXPECT_EQ(dialogs_.shown[1].title, "GEDCOMファイルを取り込めません");
    EXPECT_NE(dialogs_.shown[1].text.find("5 行目"), std::string::npos) << dialogs_.shown[1].text;
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(quits_, 0);
    EXPECT_FALSE(fs::exists(dir_.path() / "当事者目録.TXT"));

    // A cancelled file dialog ends the program.
    dialogs_.answerFile(std::nullopt);
    click(main(), "BUTTON1");
    EXPECT_EQ(quits_, 1);
}

} // namespace
