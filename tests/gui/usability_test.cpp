// Undo and redo through the forms, the guidance of the main window, a folder without
// registers, and windows that fit a small screen, driven through the real forms.
#include "gui_fixture.h"

#include "forms/tsubaki/form_window.h"

#include "common/folder_backup.h"

#include <QScrollArea>

#include <ctime>

namespace gui_test {
namespace {

core::家族 confirmedCouple(int husband, int wife) {
    core::家族 f;
    f.婚姻NO = 1;
    f.夫NO = static_cast<std::int16_t>(husband);
    f.妻NO = static_cast<std::int16_t>(wife);
    f.夫婦確定_f = 1;
    f.夫肩書 = "夫";
    f.妻肩書 = "妻";
    return f;
}

class Undo : public Gui {
protected:
    // 1 山田太郎, 2 山田花子 (a confirmed couple), 3 山田一郎, 4 佐藤次郎, 5 佐藤春子.
    void SetUp() override {
        prepare({person(1, "山田", "太郎"), person(2, "山田", "花子", 2), person(3, "山田", "一郎"),
                 person(4, "佐藤", "次郎"), person(5, "佐藤", "春子", 2)});
        writeFamilies({confirmedCouple(1, 2)});
        writeSettings(1, 5);
        ASSERT_TRUE(start());
    }
    template <class T = QWidget> T* f2(const char* name) { return ctl<T>(form(1), name); }
    template <class T = QWidget> T* f6(const char* name) { return ctl<T>(form(5), name); }
    void clickRow(QListWidget* list, int row) {
        list->setCurrentRow(row);
        Q_EMIT list->itemClicked(list->item(row));
    }
    void chooseCombo(const char* name, const char* text) {
        auto* combo = f6<QComboBox>(name);
        combo->setCurrentIndex(combo->findText(QString::fromUtf8(text), Qt::MatchContains));
    }
    void chooseCandidate(int person) {
        auto* list = f6<QListWidget>("LIST_A4A");
        const auto found = list->findItems(QString::number(person) + " ", Qt::MatchStartsWith);
        ASSERT_EQ(found.size(), 1);
        clickRow(list, list->row(found[0]));
    }
};

TEST_F(Undo, EveryChangeGoesBackToTheLoadedRegistersAndForwardAgain) {
    const core::Registers loaded = app->data().reg;
    EXPECT_EQ(main<QPushButton>("undoButton")->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(main<QPushButton>("redoButton")->shortcut(), QKeySequence("Ctrl+Y"));

    // A person edit.
    edit(3);
    EXPECT_FALSE(main("undoButton")->isEnabled()) << "nothing is done before the commit";
    set("EDIT_A3A", "東京都");
    click(form(4), "BUTTON_A2A");
    EXPECT_TRUE(main("undoButton")->isEnabled());
    EXPECT_EQ(s(main("undoButton")->toolTip()), "「当事者の編集」を元に戻します（Ctrl+Z）");

    // A new family of 佐藤次郎 and 佐藤春子.
    clickMain("BUTTON_A8A");
    click(form(1), "BUTTON_A5A");
    chooseCombo("COMBO_A1A", "佐藤次郎");
    chooseCombo("COMBO_A2A", "佐藤春子");
    click(form(5), "BUTTON_A6A");
    ASSERT_EQ(app->data().reg.familyCount(), 2);

    // A child for family 1.
    clickRow(f2<QListWidget>("LIST_A3A"), 0);
    click(form(5), "BUTTON_A4A");
    EXPECT_FALSE(f6("undoButton")->isEnabled()) << "not while a child is being chosen";
    EXPECT_EQ(s(f6("undoButton")->toolTip()),
              "子供の選択中は使えません（「登録決定」で選択を終えてください）");
    chooseCandidate(3);
    dialogs.answerYes();
    dialogs.answerInput("長男");
    click(form(5), "BUTTON_A4A");
    ASSERT_EQ(app->data().reg.family(1).子数(), 1);
    EXPECT_EQ(app->data().reg.person(3).実父NO, 1);

    // The new family deleted again.
    clickRow(f2<QListWidget>("LIST_A3A"), 1);
    click(form(1), "BUTTON_A14A");
    ASSERT_EQ(app->data().reg.familyCount(), 1);
    const core::Registers last = app->data().reg;

    // Back, step by step, from FORM2 and FORM6; the forms follow.
    click(form(1), "undoButton");
    EXPECT_EQ(app->data().reg.familyCount(), 2);
    EXPECT_EQ(f2<QListWidget>("LIST_A3A")->count(), 2);
    EXPECT_EQ(s(f2<QLabel>("familyListGuidance")->text()), "「家族の削除」を元に戻しました");
    click(form(5), "undoButton"); // the child
    EXPECT_EQ(app->data().reg.family(1).子数(), 0);
    EXPECT_EQ(app->data().reg.person(3).実父NO, 0);
    click(form(1), "undoButton"); // the second family's partners
    click(form(1), "undoButton"); // the second family
    EXPECT_EQ(f2<QListWidget>("LIST_A3A")->count(), 1);
    EXPECT_EQ(f2<QComboBox>("COMBO_A5A")->count(), 2);
    click(form(1), "BUTTON_A9A");
    ASSERT_TRUE(mainForm().isVisible());
    clickMain("undoButton"); // the person edit
    EXPECT_EQ(app->data().reg, loaded);
    EXPECT_FALSE(main("undoButton")->isEnabled());
    EXPECT_EQ(s(main("undoButton")->toolTip()), "元に戻せる変更はありません");
    EXPECT_EQ(s(main<QLabel>("guidanceLabel")->text()), "「当事者の編集」を元に戻しました");
    EXPECT_EQ(listLine(3), "3 (男) 山田一郎　");

    // And forward again to the end; a save in between keeps the history.
    clickMain("redoButton");
    EXPECT_EQ(listLine(3), "3 (男) 山田一郎　（住所：東京都）");
    EXPECT_EQ(s(main<QLabel>("guidanceLabel")->text()), "「当事者の編集」をやり直しました");
    // Not while the person form is open.
    edit(2);
    EXPECT_FALSE(main("undoButton")->isEnabled());
    EXPECT_EQ(s(main("undoButton")->toolTip()), "当事者の入力中は使えません");
    form(4).close();
    EXPECT_TRUE(main("undoButton")->isEnabled());
    clickMain("BUTTON_A3A");
    while (main("redoButton")->isEnabled()) {
        clickMain("redoButton");
    }
    EXPECT_EQ(app->data().reg, last);
    EXPECT_TRUE(main("undoButton")->isEnabled());
    EXPECT_TRUE(dialogs.scriptUsedUp());
}

TEST_F(Undo, ACancelledPersonFormLeavesNoStep) {
    clickMain("BUTTON_A1A");
    set("EDIT_A2A", "三郎");
    form(4).close();
    EXPECT_FALSE(main("undoButton")->isEnabled());
    // An edit, then a form cancelled: the edit is still the step to take back.
    edit(4);
    set("EDIT_A3A", "大阪府");
    click(form(4), "BUTTON_A2A");
    edit(5);
    form(4).close();
    clickMain("undoButton");
    EXPECT_EQ(app->data().reg.person(4).住所1, "");
    // A person added is one step, taken back whole.
    add("山田", "三郎");
    ASSERT_EQ(personCount(), 6);
    EXPECT_EQ(s(main("undoButton")->toolTip()), "「当事者の追加」を元に戻します（Ctrl+Z）");
    clickMain("undoButton");
    EXPECT_EQ(personCount(), 5);
    EXPECT_EQ(main<QListWidget>("LIST_A1A")->count(), 5);
    EXPECT_EQ(s(main("redoButton")->toolTip()), "「当事者の追加」をやり直します（Ctrl+Y）");
}

// ---- the main window's guidance ---------------------------------------------------------------

TEST_F(Gui, TheMainWindowSaysWhatItCouldNotDo) {
    writeEnvironment(environment());
    dialogs.answerYes(); // a new data folder
    ASSERT_TRUE(start());
    dialogs.shown.clear();
    auto guidance = [this] { return s(main<QLabel>("guidanceLabel")->text()); };
    clickMain("BUTTON_A26A");
    EXPECT_EQ(guidance(), "当事者がまだ登録されていません");
    EXPECT_TRUE(dialogs.shown.empty());

    add("山田", "太郎");
    add("山田", "花子");
    dialogs.answerInput("次郎");
    clickMain("BUTTON_A26A");
    EXPECT_EQ(guidance(), "名が「次郎」の当事者は見つかりません（姓は入力しません）");
    dialogs.answerInput(std::nullopt); // cancelled: no name to search on
    clickMain("BUTTON_A26A");
    clickMain("BUTTON_A27A");
    EXPECT_EQ(guidance(), "先に「名前を検索」で名を入力してください");
    dialogs.answerInput("太郎");
    clickMain("BUTTON_A26A");
    EXPECT_EQ(guidance(), "");
    clickMain("BUTTON_A27A");
    EXPECT_EQ(guidance(), "これより後に、名が「太郎」の当事者はいません");

    clickMain("BUTTON_A3A");
    EXPECT_EQ(guidance(), "当事者のデータをファイルに保存しました");
    clickMain("BUTTON49");
    EXPECT_TRUE(guidance().starts_with("バックアップしました（BACKUP/")) << guidance();
    // A backup of the same second is not made twice: the folders of the next seconds are
    // there already.
    const std::time_t now = std::time(nullptr);
    for (int i = 0; i < 3; ++i) {
        const std::time_t t = now + i;
        fs::create_directories(data.path() / "BACKUP" /
                               common::backupFolderName(*std::localtime(&t)));
    }
    clickMain("BUTTON49");
    EXPECT_EQ(guidance(),
              "同じ時刻のバックアップがあるので、作りませんでした（１秒おいてください）");
    // Any next action clears the line.
    choosePerson(2);
    EXPECT_EQ(guidance(), "");
}

TEST_F(Gui, TheCopyDialogSaysWhenItCopiedNothing) {
    writeEnvironment(environment());
    dialogs.answerYes(); // a new data folder
    ASSERT_TRUE(start());
    clickMain("BUTTON_A1A");
    EXPECT_FALSE(f5("BUTTON_A25A")->isEnabled());
    EXPECT_EQ(s(f5("BUTTON_A25A")->toolTip()), "複写できる当事者がまだ登録されていません");
    set("EDIT_A2A", "太郎");
    click(form(4), "BUTTON_A2A");
    clickMain("BUTTON_A1A");
    EXPECT_TRUE(f5("BUTTON_A25A")->isEnabled());
    click(form(4), "BUTTON_A25A");
    ctl<QListWidget>(form(6), "LIST6")->setCurrentRow(0);
    click(form(6), "BUTTON35");
    EXPECT_EQ(s(f5<QLabel>("guidanceLabel")->text()),
              "複写する項目にチェックがないので、何も複写していません");
    EXPECT_EQ(s(f5<QLineEdit>("EDIT_A2A")->text()), "");
}

TEST_F(Gui, TheDrawButtonNamesTheFamilyWithoutPartners) {
    core::家族 couple = confirmedCouple(1, 2);
    prepare({person(1, "山田", "太郎"), person(2, "山田", "花子", 2)});
    writeFamilies({couple, core::家族{}});
    writeSettings(2, 2);
    ASSERT_TRUE(start());
    EXPECT_FALSE(main("BUTTON39")->isEnabled());
    EXPECT_EQ(s(main("BUTTON39")->toolTip()),
              "夫も妻も登録されていない家族（2番）があるので作図できません");
    clickMain("BUTTON_A8A");
    EXPECT_FALSE(ctl(form(1), "BUTTON_A21A")->isEnabled());
    EXPECT_EQ(s(ctl(form(1), "BUTTON_A21A")->toolTip()),
              "夫も妻も登録されていない家族（2番）があるので作図できません");
    // The base family by its couple.
    auto* base = ctl<QComboBox>(form(1), "COMBO_A5A");
    ASSERT_EQ(base->count(), 3);
    EXPECT_EQ(s(base->itemText(1)), "1 : 山田太郎　＝　山田花子");
    EXPECT_EQ(s(base->itemText(2)), "2 : 登録未設定　＝　登録未設定");
}

TEST_F(Gui, ThePersonFormSaysWhyItsControlsAreOff) {
    prepare({person(1, "山田", "太郎"), person(2, "山田", "花子", 2), person(3, "山田", "一郎")});
    writeFamilies({confirmedCouple(1, 2)});
    ASSERT_TRUE(start());
    app->data().reg.person(3).C_当事者NO = 1; // 3 links to 1
    edit(1);
    EXPECT_FALSE(f5("RADIO_A3A")->isEnabled());
    EXPECT_EQ(s(f5("RADIO_A3A")->toolTip()),
              "家族の夫または妻として登録されているので、性別は変えられません");
    EXPECT_FALSE(f5("CHECK39")->isEnabled());
    EXPECT_EQ(s(f5("CHECK39")->toolTip()),
              "この当事者は他の当事者のリンク元なので、リンクできません");
    click(form(4), "BUTTON_A2A");
    edit(3);
    EXPECT_TRUE(f5("RADIO_A3A")->isEnabled());
    EXPECT_EQ(s(f5("RADIO_A3A")->toolTip()), "");

    // With a date that is no date: the question, and No keeps the form open.
    set("EDIT_A5A", "昭和６５年１月１日");
    dialogs.answerNo();
    click(form(4), "BUTTON_A2A");
    EXPECT_TRUE(form(4).isVisible());
    EXPECT_EQ(
        dialogs.messages().back(),
        "日付の確認 / 生年月日「昭和６５年１月１日」は日付として読めません（昭和６５年１月１日"
        "は昭和の終わりより後です（昭和６４年１月７日が最後の日、この日は平成２年１月１日））。"
        "\nこのまま登録しますか？");
    set("EDIT_A5A", "不詳");
    dialogs.answerYes();
    click(form(4), "BUTTON_A2A");
    EXPECT_FALSE(form(4).isVisible());
    EXPECT_EQ(app->data().reg.person(3).生年月日, "不詳");
}

// ---- a folder without registers ----------------------------------------------------------------

TEST_F(Gui, AFolderWithoutRegistersStaysEmptyWhenTheUserSaysNo) {
    writeEnvironment(environment());
    app = std::make_unique<app::TsubakiApp>(dialogs);
    dialogs.answerFile((data.path() / "DUMMY").string());
    dialogs.answerNo();               // not a new data folder
    dialogs.answerFile(std::nullopt); // and no other folder either
    app::StartOptions o;
    o.environmentFile = envFile();
    EXPECT_FALSE(app->start(o));
    EXPECT_TRUE(app->ended());
    EXPECT_EQ(app->exitCode(), 0);
    EXPECT_TRUE(fs::is_empty(data.path()));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.shown[1].title, "新しいデータフォルダ");
    EXPECT_NE(dialogs.shown[1].text.find(data.path().string()), std::string::npos);
    EXPECT_EQ(dialogs.shown[1].icon, common::Icon::Question);
}

TEST_F(Gui, NoChoosesAnotherFolderAndYesStartsANewOneWithNothingInIt) {
    writeEnvironment(environment());
    testing_support::TempDir other;
    core::当事者目録_W_SUB(other.path(), {person(1, "山田", "太郎")});
    // Given on the command line, refused, then a folder with a register: no second question.
    dialogs.answerNo();
    dialogs.answerFile((other.path() / "DUMMY").string());
    ASSERT_TRUE(start());
    EXPECT_EQ(app->data().folder, other.path());
    EXPECT_EQ(personCount(), 1);
    EXPECT_TRUE(fs::is_empty(data.path()));

    testing_support::ScriptedDialogs d;
    app::TsubakiApp fresh(d);
    d.answerYes();
    app::StartOptions o;
    o.environmentFile = envFile();
    o.dataFolder = data.path();
    ASSERT_TRUE(fresh.start(o));
    EXPECT_EQ(fresh.data().reg.personCount(), 0);
    EXPECT_TRUE(fs::is_empty(data.path())) << "nothing is written before a save";
    EXPECT_TRUE(d.scriptUsedUp());
}

// ---- windows that fit ---------------------------------------------------------------------------

TEST(OpeningGeometry, CentredOnTheAnchorAndInsideTheScreen) {
    const QRect screen(0, 0, 1366, 728); // 1366 × 768 without a task bar of 40
    const QMargins frame = forms::kAssumedFrame;
    // Centred on the main window.
    const QRect anchor(200, 100, 800, 500);
    QRect g = forms::openingGeometry(QSize(400, 300), anchor, screen, frame);
    EXPECT_EQ(g.size(), QSize(400, 300));
    EXPECT_EQ(g.center(), anchor.center());
    // Without an anchor, centred on the screen.
    g = forms::openingGeometry(QSize(400, 300), QRect(), screen, frame);
    EXPECT_EQ(g.center(), screen.center());
    // Taller than the screen: cut to it, the title bar on the screen.
    g = forms::openingGeometry(QSize(880, 900), anchor, screen, frame);
    EXPECT_EQ(g.height(), 728 - 32 - 8);
    EXPECT_EQ(g.top(), 32);
    // An anchor near the edge: moved inside.
    g = forms::openingGeometry(QSize(600, 400), QRect(1200, 600, 100, 100), screen, frame);
    EXPECT_LE(g.right(), 1366 - 8 - 1);
    EXPECT_LE(g.bottom(), 728 - 8 - 1);
}

TEST(OpeningGeometry, TheFamilyDetailsOpenBesideTheFamilyList) {
    const QRect screen(0, 0, 1366, 728);
    const QMargins frame = forms::kAssumedFrame;
    const QRect mainWindow(93, 64, 1180, 640);
    // Room for both: the list left of the centre, the details right beside it.
    const QRect list = forms::openingGeometry(QSize(500, 520), mainWindow, screen, frame, 616);
    EXPECT_LE(std::abs(list.left() + (500 + 616) / 2 - mainWindow.center().x()), 1);
    QRect details = forms::besideGeometry(QSize(600, 640), list, screen, frame);
    EXPECT_EQ(details.left(), list.right() + 1 + 16);
    // Level with the list, unless that would take its bottom off the screen.
    EXPECT_EQ(details.top(), std::min(list.top(), 728 - 8 - 640));
    // Too narrow for both: the list at the left edge, the details over its right part only.
    const QRect wide = forms::openingGeometry(QSize(700, 520), mainWindow, screen, frame, 826);
    EXPECT_EQ(wide.left(), 8);
    details = forms::besideGeometry(QSize(810, 640), wide, screen, frame);
    EXPECT_EQ(details.right(), 1366 - 8 - 1);
    EXPECT_GT(details.left(), wide.left() + 500) << "most of the list stays in view";
}

TEST_F(Gui, TheFormsFitASmallScreenAndOpenOnTheMainWindow) {
    prepare({person(1, "山田", "太郎"), person(2, "山田", "花子", 2)});
    ASSERT_TRUE(start());
    // 1366 × 768 less a task bar and the window frame.
    const QSize room(1366 - 16, 768 - 40 - 40);
    for (const int i : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10}) {
        QWidget& f = form(i);
        EXPECT_LE(f.minimumSizeHint().width(), room.width()) << s(f.objectName());
        EXPECT_LE(f.minimumSizeHint().height(), room.height()) << s(f.objectName());
        EXPECT_LE(f.height(), room.height()) << s(f.objectName());
    }
    // FORM6 scrolls what does not fit.
    auto* scroll = ctl<QScrollArea>(form(5), "detailScroll");
    ASSERT_NE(scroll, nullptr);
    EXPECT_NE(scroll->widget()->findChild<QWidget*>("LIST_A2A"), nullptr);
    // So does the chart settings dialog.
    auto* settings = ctl<QScrollArea>(form(3), "settingsScroll");
    ASSERT_NE(settings, nullptr);
    EXPECT_NE(settings->widget()->findChild<QWidget*>("LIST_A5A"), nullptr);

    // Every form but the chart window opens on the main window.
    for (std::size_t i = 1; i < app->allForms().size(); ++i) {
        auto* f = qobject_cast<forms::FormWindow*>(app->allForms()[i]);
        if (i == 2) {
            EXPECT_EQ(f, nullptr) << "FORM3 is the chart window";
            continue;
        }
        ASSERT_NE(f, nullptr) << i;
        EXPECT_EQ(f->placementAnchor(), &mainForm()) << s(f->objectName());
    }
    EXPECT_EQ(static_cast<forms::FormWindow&>(form(5)).opensBeside(), &form(1));
    // Opened the first time, centred on its anchor; later where it was left.
    QWidget probe;
    probe.setGeometry(300, 200, 200, 100);
    auto& linkDialog = static_cast<forms::FormWindow&>(form(8));
    linkDialog.setPlacementAnchor(&probe);
    linkDialog.show();
    EXPECT_TRUE(linkDialog.placed());
    // (within the rounding of a centre and the size the layout settles on)
    EXPECT_LE((linkDialog.geometry().center() - probe.geometry().center()).manhattanLength(), 4);
    linkDialog.hide();
    linkDialog.move(10, 40);
    linkDialog.show();
    EXPECT_EQ(linkDialog.pos(), QPoint(10, 40));
}

} // namespace
} // namespace gui_test
