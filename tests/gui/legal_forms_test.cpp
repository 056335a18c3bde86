// The legal chart dialogs FORM8, FORM10 and FORM11 driven through the real forms on a copy
// of the sample data folder (deceased 山田太郎, base family 3, stored heirs 2, 4, 6, 8, 9,
// 13, applicant 4): the registry address rule and its full-width conversion, the heir list
// and its buttons, the applicant list, the save points, the drawing, and that the
// program's registers are never changed by a list chart, not even when its save fails.
#include "gui_fixture.h"

#include "app/tsubaki/chart_window.h"

namespace gui_test {
namespace {

class LegalForms : public Gui {
protected:
    void SetUp() override { copySamples(); }

    QWidget& form2() { return form(1); }
    QWidget& form3() { return form(2); }
    QWidget& form4() { return form(3); }
    QWidget& form8() { return form(7); }
    QWidget& form10() { return form(9); }
    QWidget& form11() { return form(10); }
    template <class T = QWidget> T* f4(const char* name) { return ctl<T>(form4(), name); }
    template <class T = QWidget> T* f8(const char* name) { return ctl<T>(form8(), name); }
    template <class T = QWidget> T* f10(const char* name) { return ctl<T>(form10(), name); }
    template <class T = QWidget> T* f11(const char* name) { return ctl<T>(form11(), name); }

    core::DataFolder folder() const {
        return core::DataFolder::load(data.path(), core::readEnvironment(envFile()),
                                      [] { return true; });
    }
    // Changes the stored settings before the program starts.
    void editSettings(const std::function<void(core::DrawingSettings&)>& edit) {
        core::DataFolder d = folder();
        edit(d.settings);
        d.saveSettings();
    }
    std::string file(const char* name) const { return common::readFile(data.path() / name); }

    // Starts, goes to FORM4 through the family form and chooses a legal chart.
    void chooseLegalChart(const char* box, bool horizontal = false) {
        ASSERT_TRUE(start());
        clickMain("BUTTON_A8A");
        click(form2(), "BUTTON_A21A");
        ASSERT_TRUE(form4().isVisible());
        if (horizontal) {
            f4<QRadioButton>("RADIO_A6A")->click();
        }
        f4<QCheckBox>(box)->click();
    }
    // "作図実行" of FORM4 with "法定相続情報一覧図作成", then FORM10's "設定完了".
    void throughHeirs() {
        chooseLegalChart("CHECK46", true);
        click(form4(), "BUTTON_A22A");
        ASSERT_TRUE(form10().isVisible());
        click(form10(), "BUTTON46");
        ASSERT_TRUE(form11().isVisible());
    }
    bool onlyEnabled(QWidget& dialog) {
        for (QWidget* f : app->allForms()) {
            if (f->isEnabled() != (f == &dialog)) {
                return false;
            }
        }
        return true;
    }
    bool allEnabled() {
        for (QWidget* f : app->allForms()) {
            if (!f->isEnabled()) {
                return false;
            }
        }
        return true;
    }
    std::string text(QLineEdit* e) { return s(e->text()); }
};

// FORM8 opens on "作図実行": the deceased changed since the addresses were filled, so the
// first two lines take his address and the other two are emptied; its "作図実行" makes the
// lines full width and draws.
TEST_F(LegalForms, ExplanationChartThroughForm8) {
    editSettings([](core::DrawingSettings& st) {
        st.被相続人の名前 = "山田一郎";
        st.登記簿上の住所１ = "古い住所";
        st.登記簿上の住所３ = "三行目";
    });
    chooseLegalChart("CHECK_A18A");
    click(form4(), "BUTTON_A22A");
    ASSERT_TRUE(form8().isVisible());
    EXPECT_TRUE(onlyEnabled(form8()));
    EXPECT_EQ(text(f8<QLineEdit>("EDIT23")), "東京都世田谷区北沢三丁目１２番５号");
    EXPECT_EQ(text(f8<QLineEdit>("EDIT24")), "");
    EXPECT_EQ(text(f8<QLineEdit>("EDIT25")), "");
    EXPECT_EQ(app->data().settings.被相続人の名前, "山田太郎");
    EXPECT_TRUE(f8<QCheckBox>("CHECK37")->isChecked());
    EXPECT_TRUE(f8<QCheckBox>("CHECK38")->isChecked());

    // A character Shift-JIS cannot hold keeps the dialog open.
    f8<QLineEdit>("EDIT24")->setText(QString::fromUtf8("北沢\xF0\x9F\x98\x80"));
    click(form8(), "BUTTON38");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0],
              "入力エラー / 登記簿上の住所の2行目「北沢😀」に、Shift-JISで書けない文字があります。");
    EXPECT_TRUE(form8().isVisible());
    EXPECT_FALSE(form3().isVisible());

    f8<QLineEdit>("EDIT24")->setText(QString::fromUtf8("2-3 abc"));
    f8<QCheckBox>("CHECK38")->setChecked(false);
    click(form8(), "BUTTON38");
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(text(f8<QLineEdit>("EDIT24")), "２－３　ａｂｃ");
    EXPECT_EQ(app->data().settings.登記簿上の住所２, "２－３　ａｂｃ");
    EXPECT_FALSE(app->data().settings.戸籍還付欄を表示する);
    EXPECT_FALSE(form8().isVisible());
    EXPECT_TRUE(form3().isVisible());
    EXPECT_TRUE(allEnabled());
    ASSERT_NE(app::chartWindow(*app).chart(), nullptr);
    EXPECT_EQ(app->data().reg, folder().reg) << "the registers are as stored";
}

// The heir list: every husband, wife and child of the visible families but the deceased,
// in person order; the stored heirs preselected; a person not listed loses the flag.
TEST_F(LegalForms, TheHeirListOfForm10) {
    editSettings([](core::DrawingSettings& st) {
        st.setHeir(16, true);
        st.familyEntries[6].selected = 1; // family 7 (佐藤正男 and キヨ, 花子's parents) hidden
    });
    chooseLegalChart("CHECK46", true);
    click(form4(), "BUTTON_A22A");
    ASSERT_TRUE(form10().isVisible());
    EXPECT_TRUE(onlyEnabled(form10()));
    auto* list = f10<QListWidget>("LIST8");
    // Persons 2 to 15, 19 and 20: 1 is the deceased, 16 to 18 only in family 7.
    ASSERT_EQ(list->count(), 16);
    EXPECT_EQ(s(list->item(0)->text()),
              "2 (女) 山田花子　(生年月日 "
              "昭和８年７月２０日）（住所：東京都世田谷区北沢三丁目１２番５号）");
    EXPECT_EQ(s(list->item(15)->text()).rfind("20 (女) 中村さくら　", 0), 0u);
    std::vector<int> selected;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected()) {
            selected.push_back(std::stoi(s(list->item(i)->text())));
        }
    }
    EXPECT_EQ(selected, (std::vector<int>{2, 4, 6, 8, 9, 13}));
    EXPECT_FALSE(app->data().settings.isHeir(16)) << "not listed: no heir";
    EXPECT_TRUE(f10<QCheckBox>("CHECK47")->isChecked());
    EXPECT_FALSE(f10<QCheckBox>("CHECK49")->isChecked());

    click(form10(), "BUTTON44");
    EXPECT_EQ(list->selectedItems().size(), 16);
    click(form10(), "BUTTON45");
    EXPECT_EQ(list->selectedItems().size(), 0);
    list->item(2)->setSelected(true); // 4
    list->item(6)->setSelected(true); // 8
    f10<QCheckBox>("CHECK49")->setChecked(true);
    f10<QLineEdit>("EDIT32")->setText(QString::fromUtf8("(一部)"));
    click(form10(), "BUTTON46");
    EXPECT_FALSE(form10().isVisible());
    EXPECT_TRUE(form11().isVisible());
    EXPECT_TRUE(onlyEnabled(form11()));
    const core::DrawingSettings& st = app->data().settings;
    EXPECT_EQ(st.heirs(), (std::vector<int>{4, 8}));
    EXPECT_EQ(st.家督相続, 1);
    EXPECT_EQ(st.表題部追加情報, "（一部）");
    EXPECT_FALSE(form3().isVisible()) << "nothing drawn yet";
}

// FORM11: the stored applicant shown as stored, a click fills address and name (nothing for
// the first line), "作成者は申出人と同じ" copies them; "設定完了" stores, saves and draws,
// asking the lineage of families 2 and 4, which the samples leave unset.
TEST_F(LegalForms, ApplicantAndCreatorThenTheListChart) {
    const std::string personsBefore = file("当事者目録.TXT");
    const std::string familiesBefore = file("家族目録.TXT");
    throughHeirs();
    auto* list = f11<QListWidget>("LIST9");
    ASSERT_EQ(list->count(), 21);
    EXPECT_EQ(s(list->item(0)->text()), "このリストに申出人はいない");
    EXPECT_EQ(list->currentRow(), 4);
    EXPECT_EQ(text(f11<QLineEdit>("EDIT27")), "神奈川県横浜市港北区日吉本町一丁目４番２号");
    EXPECT_EQ(text(f11<QLineEdit>("EDIT31")), "令和５年１月２０日");

    list->setCurrentRow(2);
    EXPECT_EQ(text(f11<QLineEdit>("EDIT27")), "東京都世田谷区北沢三丁目１２番５号");
    EXPECT_EQ(text(f11<QLineEdit>("EDIT28")), "山田花子");
    list->setCurrentRow(0);
    EXPECT_EQ(text(f11<QLineEdit>("EDIT27")), "");
    EXPECT_EQ(text(f11<QLineEdit>("EDIT28")), "");
    list->setCurrentRow(3); // 鈴木幸子, who is no heir
    click(form11(), "BUTTON47");
    EXPECT_EQ(text(f11<QLineEdit>("EDIT29")), "") << "幸子 has no address";
    EXPECT_EQ(text(f11<QLineEdit>("EDIT30")), "鈴木幸子");
    f11<QLineEdit>("EDIT31")->setText(QString::fromUtf8("R5.2.1"));

    dialogs.answerYes();
    dialogs.answerYes();
    dialogs.answerYes(); // "このまま作図" in the findings dialog
    click(form11(), "BUTTON48");
    const std::vector<std::string> shown = dialogs.messages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0],
              "作図の中心となる人物が決まっていません / 家族No. 2は、男性を中心に作図しますか？");
    EXPECT_EQ(shown[1],
              "作図の中心となる人物が決まっていません / 家族No. 4は、男性を中心に作図しますか？");
    // Then the findings, one dialog: the applicant is no heir, the date of making is no
    // date, 健太's title is not 孫.
    EXPECT_EQ(shown[2].rfind("作図前の確認 / 法務局に受け付けられない誤りが 3 件あります。", 0), 0u)
        << shown[2];
    for (const char* finding : {"\n誤り：申出人の当事者NO.3 鈴木幸子は選ばれた相続人ではありません",
                                "\n誤り：作成日付「Ｒ５．２．１」は日付として読めません",
                                "\n誤り：当事者NO.8 山田健太は代襲者なので、続柄は「孫」です"}) {
        EXPECT_NE(shown[2].find(finding), std::string::npos) << finding;
    }
    EXPECT_EQ(dialogs.shown.back().first, "このまま作図");
    EXPECT_EQ(dialogs.shown.back().second, "戻って直す");
    EXPECT_TRUE(dialogs.scriptUsedUp());
    EXPECT_FALSE(form11().isVisible());
    EXPECT_TRUE(form3().isVisible());
    EXPECT_TRUE(allEnabled());

    const core::DrawingSettings saved = folder().settings;
    EXPECT_EQ(saved.申出人の当事者番号, 3);
    EXPECT_EQ(saved.申出人の氏名, "鈴木幸子");
    EXPECT_EQ(saved.作成者の氏名, "鈴木幸子");
    EXPECT_EQ(saved.作成日付, "Ｒ５．２．１");
    // The registers were saved as they are and the drawing changed none of them (the
    // lineage answers held for this chart only).
    EXPECT_EQ(file("当事者目録.TXT"), personsBefore);
    EXPECT_EQ(file("家族目録.TXT"), familiesBefore);
    EXPECT_EQ(app->data().reg, folder().reg);
    EXPECT_EQ(app->data().reg.family(2).系統_F, core::Lineage::Unset);
}

// When the save before the list chart fails, the failure is reported, the chart is drawn
// all the same, and an edit not yet saved is still there.
TEST_F(LegalForms, AFailedSaveLosesNothing) {
    throughHeirs();
    app->data().reg.person(4).名 = "一朗"; // typed, not yet saved
    fs::remove(data.path() / "作図設定.TXT");
    fs::create_directory(data.path() / "作図設定.TXT"); // the settings file cannot be replaced
    dialogs.answerYes();
    dialogs.answerYes();
    dialogs.answerYes(); // "このまま作図"
    click(form11(), "BUTTON48");
    ASSERT_FALSE(dialogs.messages().empty());
    EXPECT_EQ(dialogs.messages()[0].rfind("保存できません / ", 0), 0u) << dialogs.messages()[0];
    EXPECT_TRUE(form3().isVisible());
    EXPECT_EQ(app->data().reg.person(4).名, "一朗");
}

// "テキスト化" leads through the same dialogs to the text drawing's save dialog.
TEST_F(LegalForms, TheListChartAsATextDrawing) {
    chooseLegalChart("CHECK46", true);
    click(form4(), "BUTTON37");
    ASSERT_TRUE(form10().isVisible());
    click(form10(), "BUTTON46");
    dialogs.answerYes();
    dialogs.answerYes();
    dialogs.answerYes(); // "このまま作図"
    const fs::path out = workDir.path() / "図面.TXT";
    dialogs.answerFile(out.string());
    click(form11(), "BUTTON48");
    ASSERT_TRUE(fs::exists(out));
    const std::string drawing = common::decodeCp932(common::readFile(out));
    const std::string firstLine = drawing.substr(0, drawing.find("\r\n"));
    EXPECT_NE(firstLine.find("被相続人　山田太郎　　法定相続情報"), std::string::npos) << firstLine;
}

// "法定相続人を選ぶ" selects exactly the heirs the law gives, whatever was selected; their
// shares stand beside the list.
TEST_F(LegalForms, TheLegalHeirsChosenAndTheirShares) {
    chooseLegalChart("CHECK46", true);
    click(form4(), "BUTTON_A22A");
    ASSERT_TRUE(form10().isVisible());
    auto* shares = f10<QListWidget>("heirShares");
    std::vector<std::string> lines;
    for (int i = 0; i < shares->count(); ++i) {
        lines.push_back(s(shares->item(i)->text()));
    }
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "1/2　妻　当事者NO.2 山田花子", "1/10　長男　当事者NO.4 山田一郎",
                  "1/10　孫（代襲者）　当事者NO.8 山田健太", "1/10　長女　当事者NO.6 中村美咲",
                  "1/10　子　当事者NO.13 木村拓也", "1/10　養女　当事者NO.9 山田優子"}));
    auto* list = f10<QListWidget>("LIST8");
    click(form10(), "BUTTON44");
    click(form10(), "chooseLegalHeirs");
    std::vector<int> selected;
    for (QListWidgetItem* item : list->selectedItems()) {
        selected.push_back(std::stoi(s(item->text())));
    }
    std::sort(selected.begin(), selected.end());
    EXPECT_EQ(selected, (std::vector<int>{2, 4, 6, 8, 9, 13}));
    EXPECT_TRUE(dialogs.messages().empty());
    // The user may still change the selection.
    list->item(0)->setSelected(false);
    click(form10(), "BUTTON46");
    EXPECT_FALSE(app->data().settings.isHeir(2));
}

// The base family's lineage, asked for by "作図実行" when it is not set, decides the deceased
// whose heirs FORM10 shows.
TEST_F(LegalForms, TheHeirsOfTheDeceasedTheLineageAnswerChooses) {
    core::DataFolder d = folder();
    d.reg.family(3).系統_F = core::Lineage::Unset;
    d.saveFamilies();
    chooseLegalChart("CHECK46", true);
    dialogs.answerYes();
    click(form4(), "BUTTON_A22A");
    ASSERT_TRUE(form10().isVisible());
    auto* shares = f10<QListWidget>("heirShares");
    ASSERT_EQ(shares->count(), 6);
    EXPECT_EQ(s(shares->item(0)->text()), "1/2　妻　当事者NO.2 山田花子");
    EXPECT_TRUE(dialogs.scriptUsedUp());
}

// "戻って直す" draws nothing and goes back to FORM10; "列挙形式で作成" is kept in "tsubaki.ini"
// at FORM11's save and draws the list form.
TEST_F(LegalForms, BackToFixThenTheListForm) {
    throughHeirs();
    dialogs.answerYes();
    dialogs.answerYes();
    dialogs.answerNo(); // "戻って直す"
    click(form11(), "BUTTON48");
    EXPECT_TRUE(form10().isVisible());
    EXPECT_TRUE(onlyEnabled(form10()));
    EXPECT_FALSE(form3().isVisible());
    EXPECT_FALSE(fs::exists(data.path() / "tsubaki.ini")) << "nothing to keep yet";

    f10<QCheckBox>("listFormCheck")->setChecked(true);
    click(form10(), "BUTTON46");
    dialogs.answerYes();
    dialogs.answerYes();
    dialogs.answerYes();
    click(form11(), "BUTTON48");
    EXPECT_TRUE(dialogs.scriptUsedUp());
    EXPECT_TRUE(form3().isVisible());
    EXPECT_EQ(file("tsubaki.ini"), "[list_chart]\r\nform=list\r\n");
    EXPECT_EQ(folder().options.listChartForm, core::ListChartForm::List);
    // FORM10 opens again with the list form chosen.
    click(form2(), "BUTTON_A21A");
    click(form4(), "BUTTON_A22A");
    ASSERT_TRUE(form10().isVisible());
    EXPECT_TRUE(f10<QCheckBox>("listFormCheck")->isChecked());
}

} // namespace
} // namespace gui_test
