// The chart settings dialog FORM4 and the chart window FORM3, driven through the real forms
// on a copy of the sample data folder: opening, the control dependencies, the hidden-family
// list, the save points of "作図実行", "テキスト化" and "キャンセル", the view's bars and
// panning, and the bitmap and text exports.
#include "gui_fixture.h"

#include "app/tsubaki/chart_window.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMainWindow>
#include <QMouseEvent>
#include <QScrollBar>

namespace gui_test {
namespace {

const std::string kTitle(core::title_text);

class ChartForms : public Gui {
protected:
    // The sample data folder with its "KANKYO.TXT".
    void SetUp() override { copySamples(); }

    QWidget& form2() { return form(1); }
    QWidget& form3() { return form(2); }
    QWidget& form4() { return form(3); }
    template <class T = QWidget> T* f4(const char* name) { return ctl<T>(form4(), name); }
    template <class T = QWidget> T* f3(const char* name) { return ctl<T>(form3(), name); }

    // Starts, goes to the family form and presses its "作図開始".
    void openSettings() {
        ASSERT_TRUE(start());
        clickMain("BUTTON_A8A");
        ASSERT_TRUE(form2().isVisible());
        click(form2(), "BUTTON_A21A");
        ASSERT_TRUE(form4().isVisible());
    }
    core::DrawingSettings savedSettings() const {
        const core::DataFolder d = core::DataFolder::load(
            data.path(), core::readEnvironment(envFile()), [] { return true; });
        return d.settings;
    }
    std::string file(const char* name) const { return common::readFile(data.path() / name); }
    void setField(const char* name, const char* text) {
        f4<QLineEdit>(name)->setText(QString::fromUtf8(text));
    }
    static void settle() {
        for (int i = 0; i < 3; ++i) {
            QApplication::processEvents();
        }
    }
};

TEST_F(ChartForms, OpeningFromTheFamilyFormAndFromTheMainWindow) {
    openSettings();
    EXPECT_EQ(s(form2().windowTitle()), "基準になる家族の設定" + kTitle);
    EXPECT_EQ(s(form(5).windowTitle()), "家族別の表示設定" + kTitle);
    EXPECT_FALSE(ctl<QPushButton>(form2(), "BUTTON_A5A")->isEnabled()) << "family editing off";
    // The controls show the stored settings: vertical writing, 普通の漢数字, the field boxes.
    EXPECT_TRUE(f4<QRadioButton>("RADIO_A5A")->isChecked());
    EXPECT_FALSE(f4<QRadioButton>("RADIO_A6A")->isChecked());
    EXPECT_EQ(f4<QComboBox>("COMBO_A4A")->currentIndex(), 1);
    EXPECT_TRUE(f4<QCheckBox>("CHECK_A13A")->isChecked());
    EXPECT_FALSE(f4<QCheckBox>("CHECK_A6A")->isChecked());
    EXPECT_EQ(s(f4<QLineEdit>("EDIT_A12A")->text()), "16");
    EXPECT_EQ(s(f4<QLineEdit>("EDIT22")->text()), "5");
    // Vertical writing: the numeral choice shows, text drawing is off.
    EXPECT_FALSE(f4<QComboBox>("COMBO_A4A")->isHidden());
    EXPECT_FALSE(f4<QPushButton>("BUTTON37")->isEnabled());
    EXPECT_FALSE(f4<QGroupBox>("GROUP3")->isEnabled());
    // "本籍欄" is off, so "本籍欄に「本籍」と入れる" is disabled; "離婚・養子縁組欄" is on.
    EXPECT_FALSE(f4<QCheckBox>("CHECK24")->isEnabled());
    EXPECT_TRUE(f4<QCheckBox>("CHECK_A23A")->isEnabled());
    // One entry per family, as the family list writes it.
    auto* list = f4<QListWidget>("LIST_A5A");
    ASSERT_EQ(list->count(), 8);
    EXPECT_EQ(s(list->item(1)->text()), "2 : (1) 山田太郎　＝　(3) 鈴木幸子");
    EXPECT_TRUE(list->selectedItems().isEmpty());

    // "キャンセル": back to family editing with the captions of family editing.
    click(form4(), "BUTTON_A23A");
    EXPECT_FALSE(form4().isVisible());
    EXPECT_EQ(s(form2().windowTitle()), "家族関連の設定" + kTitle);
    EXPECT_TRUE(ctl<QPushButton>(form2(), "BUTTON_A5A")->isEnabled());

    // MAINFORM's "作図開始" goes through the family form.
    click(form2(), "BUTTON_A9A");
    ASSERT_TRUE(mainForm().isVisible());
    clickMain("BUTTON39");
    EXPECT_TRUE(form2().isVisible());
    EXPECT_TRUE(form4().isVisible());
}

TEST_F(ChartForms, ControlDependencies) {
    openSettings();
    auto* vertical = f4<QRadioButton>("RADIO_A5A");
    auto* horizontal = f4<QRadioButton>("RADIO_A6A");
    auto* list = f4<QCheckBox>("CHECK46");
    auto* explanation = f4<QCheckBox>("CHECK_A18A");

    // "テキスト化" in vertical writing says why it cannot act, and no more once it can.
    EXPECT_FALSE(f4<QPushButton>("BUTTON37")->isEnabled());
    EXPECT_NE(f4<QPushButton>("BUTTON37")->toolTip().toStdString().find("「横書き」を選ぶと"),
              std::string::npos);
    horizontal->click();
    EXPECT_TRUE(f4<QPushButton>("BUTTON37")->isEnabled());
    EXPECT_TRUE(f4<QPushButton>("BUTTON37")->toolTip().isEmpty());
    EXPECT_TRUE(f4<QRadioButton>("RADIO10")->isEnabled());
    EXPECT_TRUE(f4<QComboBox>("COMBO_A4A")->isHidden());
    EXPECT_TRUE(f4<QCheckBox>("CHECK_A16A")->isHidden());
    EXPECT_FALSE(f4<QCheckBox>("CHECK_A16A")->isChecked());
    EXPECT_TRUE(list->isEnabled());

    // At most one legal chart form.
    list->click();
    EXPECT_TRUE(list->isChecked());
    explanation->click();
    EXPECT_TRUE(explanation->isChecked());
    EXPECT_FALSE(list->isChecked());
    list->click();
    EXPECT_FALSE(explanation->isChecked());

    // Back to vertical writing: the list chart goes off and stays off.
    vertical->click();
    EXPECT_FALSE(list->isChecked());
    EXPECT_FALSE(list->isEnabled());
    EXPECT_TRUE(explanation->isEnabled());
    EXPECT_FALSE(f4<QPushButton>("BUTTON37")->isEnabled());
    EXPECT_FALSE(f4<QCheckBox>("CHECK_A16A")->isHidden());

    // A field box enables its label box, turned off; switching the field off disables it.
    auto* domicile = f4<QCheckBox>("CHECK_A6A");
    auto* label = f4<QCheckBox>("CHECK24");
    domicile->click();
    EXPECT_TRUE(label->isEnabled());
    EXPECT_FALSE(label->isChecked());
    label->click();
    domicile->click();
    EXPECT_FALSE(label->isEnabled());
    EXPECT_FALSE(label->isChecked());
    auto* divorce = f4<QCheckBox>("CHECK_A11A");
    auto* divorceDate = f4<QCheckBox>("CHECK_A23A");
    divorceDate->click();
    divorce->click(); // off
    EXPECT_FALSE(divorceDate->isEnabled());
    EXPECT_FALSE(divorceDate->isChecked());
}

// The base family (3 in the samples) can be hidden neither by clicking nor by "全部選択"; an
// entry whose family changed since it was stored loses its flag.
TEST_F(ChartForms, HiddenFamilyList) {
    // Family 5 was hidden under an older text.
    {
        core::DataFolder d = core::DataFolder::load(data.path(), core::readEnvironment(envFile()),
                                                    [] { return true; });
        d.settings.familyEntries[4].selected = 1;
        d.settings.familyEntries[4].text = "5 : (4) 山田一郎　＝　(0) 登録未設定";
        d.settings.familyEntries[5].selected = 1; // its text is as listed
        d.saveSettings();
    }
    openSettings();
    auto* list = f4<QListWidget>("LIST_A5A");
    EXPECT_FALSE(list->item(4)->isSelected());
    EXPECT_TRUE(list->item(5)->isSelected());

    click(form4(), "BUTTON_A31A");
    for (int i = 0; i < list->count(); ++i) {
        EXPECT_EQ(list->item(i)->isSelected(), i != 2) << i;
    }
    click(form4(), "BUTTON_A32A");
    EXPECT_TRUE(list->selectedItems().isEmpty());

    list->item(2)->setSelected(true); // the base family
    list->item(6)->setSelected(true);
    EXPECT_FALSE(list->item(2)->isSelected());
    EXPECT_TRUE(list->item(6)->isSelected());

    // "直系子孫の解除": the centre person 太郎's households (2, 3, 4) and those of his
    // descendants (5, 6, 8) lose their flags; his parents' family 1 and 花子's parents' 7 keep
    // theirs.
    click(form4(), "BUTTON_A31A");
    click(form4(), "BUTTON_A33A");
    for (int i = 0; i < list->count(); ++i) {
        EXPECT_EQ(list->item(i)->isSelected(), i == 0 || i == 6) << "family " << i + 1;
    }

    // Kept with the settings at "キャンセル", texts and flags.
    click(form4(), "BUTTON_A23A");
    const core::DrawingSettings saved = savedSettings();
    EXPECT_EQ(saved.familyEntries[4].text, "5 : (4) 山田一郎　＝　(10) 山田明美");
    EXPECT_EQ(saved.familyEntries[6].selected, 1);
    EXPECT_EQ(saved.familyEntries[5].selected, 0);
    EXPECT_EQ(saved.familyEntries[2].selected, 0);
}

TEST_F(ChartForms, DrawingTakesTheFieldsWithTheirCorrectionsAndSaves) {
    openSettings();
    const std::string personsBefore = file("当事者目録.TXT");
    setField("EDIT_A12A", "0"); // keeps 16
    setField("EDIT_A16A", "0"); // thickness 1
    setField("EDIT22", "２０"); // limited to 15
    setField("EDIT_A13A", "2");
    setField("EDIT_A14A", "1.5");
    f4<QComboBox>("COMBO_A4A")->setCurrentIndex(2);
    f4<QCheckBox>("CHECK_A22A")->click(); // "系図毎に区切る"
    click(form4(), "BUTTON_A22A");

    EXPECT_TRUE(dialogs.messages().empty()) << dialogs.messages().front();
    EXPECT_TRUE(form3().isVisible());
    EXPECT_TRUE(form4().isVisible());
    EXPECT_EQ(s(f4<QLineEdit>("EDIT22")->text()), "15");
    const core::DrawingSettings saved = savedSettings();
    EXPECT_EQ(saved.FONT_SIZE, 16);
    EXPECT_EQ(saved.ラインの太さ, 1);
    EXPECT_EQ(saved.生年月日の字下げ, 15);
    EXPECT_EQ(saved.行間, 2);
    EXPECT_EQ(saved.字間, 1.5f);
    EXPECT_EQ(saved.漢数字の設定, 2);
    EXPECT_TRUE(saved.系図毎に区切る);
    EXPECT_EQ(file("当事者目録.TXT"), personsBefore) << "rewritten with the same content";

    const app::ChartWindow& window = app::chartWindow(*app);
    ASSERT_TRUE(window.hasChart());
    EXPECT_GT(window.chart()->height(), window.chart()->width()) << "vertical writing";
    EXPECT_EQ(window.text(), nullptr);
    EXPECT_FALSE(f3<QLabel>("PICTURE1")->pixmap().isNull());
    EXPECT_EQ(app->data().reg, core::DataFolder::load(data.path(), core::readEnvironment(envFile()),
                                                      [] { return true; })
                                   .reg)
        << "the registers in memory are those of the files";

    // A spacing that is no number: a message naming the field, nothing stored or saved.
    const std::string settingsBefore = file("作図設定.TXT");
    setField("EDIT_A13A", "abc");
    setField("EDIT_A12A", "30");
    click(form4(), "BUTTON_A22A");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_NE(dialogs.messages()[0].find("「行の間隔」の値「abc」"), std::string::npos)
        << dialogs.messages()[0];
    EXPECT_EQ(file("作図設定.TXT"), settingsBefore);
    EXPECT_EQ(app->data().settings.FONT_SIZE, 16);
}

// "テキスト化" in horizontal writing: the chart is shown and "図面.TXT" offered for saving;
// the font size typed is kept in the settings even though text drawings use 16 points.
TEST_F(ChartForms, TextDrawingIsExported) {
    openSettings();
    f4<QRadioButton>("RADIO_A6A")->click();
    setField("EDIT_A12A", "20");
    f4<QRadioButton>("RADIO9")->click(); // "横ラインのみ表示"
    const fs::path out = workDir.path() / "図面.TXT";
    dialogs.answerFile(out.string());
    click(form4(), "BUTTON37");
    EXPECT_TRUE(dialogs.scriptUsedUp());
    ASSERT_TRUE(fs::exists(out));
    const std::string text = common::decodeCp932(common::readFile(out));
    EXPECT_NE(text.find("長男　山田太郎"), std::string::npos);
    EXPECT_EQ(text.find("│"), std::string::npos) << "vertical strokes exported as blanks";
    EXPECT_NE(text.find("─"), std::string::npos);
    const auto& box = dialogs.shown.back();
    EXPECT_EQ(box.title, "名前を付けて保存");
    EXPECT_EQ(box.text, "図面.TXT");
    EXPECT_EQ(savedSettings().FONT_SIZE, 20);
    EXPECT_EQ(savedSettings().テキスト罫線, 2);
    ASSERT_NE(app::chartWindow(*app).text(), nullptr);

    // Cancelling the save dialog writes nothing.
    fs::remove(out);
    dialogs.answerFile(std::nullopt);
    click(form4(), "BUTTON37");
    EXPECT_FALSE(fs::exists(out));
}

// The centre-side question when the base family's lineage is not set: asked when the base
// family is chosen and at the start of a drawing; the answer is FORM6's lineage.
TEST_F(ChartForms, TheCentreSideQuestion) {
    {
        core::DataFolder d = core::DataFolder::load(data.path(), core::readEnvironment(envFile()),
                                                    [] { return true; });
        d.reg.family(3).系統_F = core::Lineage::Unset;
        d.saveFamilies();
    }
    openSettings();
    dialogs.answerNo();
    click(form4(), "BUTTON_A22A");
    EXPECT_TRUE(dialogs.scriptUsedUp());
    ASSERT_FALSE(dialogs.messages().empty());
    EXPECT_EQ(dialogs.messages().back(),
              "作図の中心となる人物が決まっていません / 家族No. 3は、男性を中心に作図しますか？");
    EXPECT_EQ(app->data().reg.family(3).系統_F, core::Lineage::Maternal);
    EXPECT_TRUE(ctl<QRadioButton>(form(5), "RADIO_A7A")->isChecked());
    EXPECT_TRUE(form3().isVisible());

    // Choosing family 2 (lineage unset) as the base family asks at once.
    dialogs.answerYes();
    auto* base = ctl<QComboBox>(form2(), "COMBO_A5A");
    base->setCurrentIndex(2);
    Q_EMIT base->activated(2);
    EXPECT_TRUE(dialogs.scriptUsedUp());
    EXPECT_EQ(app->data().reg.family(2).系統_F, core::Lineage::Paternal);
    EXPECT_FALSE(f4<QListWidget>("LIST_A5A")->item(1)->isSelected());
}

// A legal chart form is not drawn as a plain chart: its own dialog comes first (the legal
// chart module, tests/gui/legal_forms_test.cpp), after the saves of "作図実行".
TEST_F(ChartForms, LegalChartFormsOpenTheirDialogFirst) {
    openSettings();
    f4<QCheckBox>("CHECK_A18A")->click();
    click(form4(), "BUTTON_A22A");
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_TRUE(form(7).isVisible()) << "FORM8";
    EXPECT_FALSE(form3().isVisible());
    EXPECT_TRUE(savedSettings().相続関係説明図にする) << "the settings are saved first";
}

// ---- the chart window ----------------------------------------------------------------------

class ChartWindowTest : public ChartForms {
protected:
    void SetUp() override {
        ChartForms::SetUp();
        ASSERT_TRUE(start());
        form3().resize(640, 480);
        form3().show();
        settle();
        client = form3().findChild<QWidget*>("centralwidget")->size();
        ASSERT_GT(client.width(), 100);
    }
    void show(int w, int h) {
        app::chartWindow(*app).showChart(std::make_shared<render::Drawing>(w, h));
        settle();
    }
    QRect picture() { return f3("PICTURE1")->geometry(); }
    bool shown(const char* name) { return !f3(name)->isHidden(); }
    void mouse(QEvent::Type type, int x, int y, Qt::MouseButtons buttons) {
        QWidget* target = f3("PICTURE1");
        QMouseEvent e(type, QPointF(x, y), target->mapToGlobal(QPointF(x, y)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
    QSize client;
};

TEST_F(ChartWindowTest, ASmallChartIsCentredWithoutBars) {
    show(client.width() - 100, client.height() - 60);
    EXPECT_EQ(picture(), QRect(50, 30, client.width() - 100, client.height() - 60));
    EXPECT_FALSE(shown("HSCROLL1"));
    EXPECT_FALSE(shown("VSCROLL1"));
    EXPECT_FALSE(shown("BUTTON_A24A"));
}

TEST_F(ChartWindowTest, TheHorizontalBarCanBringTheVerticalOne) {
    // Wider, and too tall for the height the horizontal bar leaves: both bars.
    show(client.width() + 10, client.height() - 10);
    EXPECT_TRUE(shown("HSCROLL1"));
    EXPECT_TRUE(shown("VSCROLL1"));
    EXPECT_TRUE(shown("BUTTON_A24A"));
    EXPECT_EQ(picture(), QRect(0, 0, client.width() - 16, client.height() - 16));
    EXPECT_EQ(s(ctl<QPushButton>(form3(), "BUTTON_A24A")->text()), "┛");

    // Low enough to fit beside the bar: the horizontal bar alone, under the picture.
    show(client.width() + 10, client.height() - 40);
    EXPECT_TRUE(shown("HSCROLL1"));
    EXPECT_FALSE(shown("VSCROLL1"));
    EXPECT_EQ(picture(), QRect(0, 12, client.width(), client.height() - 40));
    EXPECT_EQ(f3<QScrollBar>("HSCROLL1")->maximum(), 10);
    EXPECT_EQ(f3<QScrollBar>("HSCROLL1")->geometry().top(), 12 + client.height() - 40);
}

TEST_F(ChartWindowTest, DraggingPansAndStopsAtTheEdges) {
    const int w = client.width() * 3;
    const int h = client.height() * 3;
    show(w, h);
    auto* hbar = f3<QScrollBar>("HSCROLL1");
    auto* vbar = f3<QScrollBar>("VSCROLL1");
    const int viewW = client.width() - 16;
    const int viewH = client.height() - 16;
    EXPECT_EQ(hbar->maximum(), w - viewW);
    EXPECT_EQ(vbar->maximum(), h - viewH);

    // Dragging left and up moves the view right and down.
    mouse(QEvent::MouseButtonPress, 200, 200, Qt::LeftButton);
    mouse(QEvent::MouseMove, 150, 170, Qt::LeftButton);
    EXPECT_EQ(hbar->value(), 50);
    EXPECT_EQ(vbar->value(), 30);
    // Far beyond the bottom right: stops at the chart's edge.
    mouse(QEvent::MouseMove, -100000, -100000, Qt::LeftButton);
    EXPECT_EQ(hbar->value(), hbar->maximum());
    EXPECT_EQ(vbar->value(), vbar->maximum());
    // And back beyond the top left.
    mouse(QEvent::MouseMove, 100000, 100000, Qt::LeftButton);
    EXPECT_EQ(hbar->value(), 0);
    EXPECT_EQ(vbar->value(), 0);
    // Without the button held nothing moves.
    mouse(QEvent::MouseMove, 0, 0, Qt::NoButton);
    EXPECT_EQ(hbar->value(), 0);

    // The corner button jumps to the bottom right and back.
    click(form3(), "BUTTON_A24A");
    EXPECT_EQ(hbar->value(), hbar->maximum());
    EXPECT_EQ(vbar->value(), vbar->maximum());
    EXPECT_EQ(s(ctl<QPushButton>(form3(), "BUTTON_A24A")->text()), "┏");
    click(form3(), "BUTTON_A24A");
    EXPECT_EQ(vbar->value(), 0);
    // The picture shows the part of the chart the bars point at.
    vbar->setValue(40);
    EXPECT_EQ(app::chartWindow(*app).view().sourceRect().y, 40);
    EXPECT_EQ(f3<QLabel>("PICTURE1")->pixmap().size(), QSize(viewW, viewH));
}

// An overflow above 32787 pixels is spread over 10000 scroll units.
TEST_F(ChartWindowTest, AVeryWideChartScrollsInScaledUnits) {
    show(40000, client.height() - 40);
    auto* hbar = f3<QScrollBar>("HSCROLL1");
    ASSERT_TRUE(shown("HSCROLL1"));
    EXPECT_EQ(hbar->maximum(), 10000);
    EXPECT_EQ(hbar->pageStep(), 1000);
    hbar->setValue(5000);
    const int overflow = 40000 - client.width();
    EXPECT_EQ(app::chartWindow(*app).view().sourceRect().x, overflow / 2);
    hbar->setValue(10000);
    EXPECT_EQ(app::chartWindow(*app).view().sourceRect().x, overflow);
}

TEST_F(ChartWindowTest, BitmapSaving) {
    show(300, 200);
    auto* action = form3().findChild<QAction*>("BMP_F");
    ASSERT_NE(action, nullptr);
    const fs::path out = workDir.path() / "図面.BMP";
    dialogs.answerFile(std::nullopt);
    action->trigger();
    EXPECT_FALSE(fs::exists(out));
    dialogs.answerFile(out.string());
    action->trigger();
    const std::string bmp = common::readFile(out);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    const auto& box = dialogs.shown.back();
    EXPECT_EQ(box.title, "名前を付けて保存");
    EXPECT_EQ(box.text, "図面.BMP");
    // A folder that cannot be written: the message, and the old file stays.
    dialogs.answerFile((workDir.path() / "none" / "図面.BMP").string());
    action->trigger();
    ASSERT_FALSE(dialogs.messages().empty());
    EXPECT_NE(dialogs.messages().back().find("保存できません"), std::string::npos);
    EXPECT_EQ(common::readFile(out), bmp);
}

} // namespace
} // namespace gui_test
