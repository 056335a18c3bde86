// The list form (列挙形式) of the 法定相続情報一覧図: its blocks in the bureau's order, and its
// text drawing for a small family, drawn through the chart run like the tree form.
#include "render/legal_chart.h"
#include "render/list_form.h"
#include "render/recording_canvas.h"

#include "tests/layout/register_builder.h"

#include <gtest/gtest.h>

namespace {

using layout_test::RegisterBuilder;

// 山田太郎 (died 令和４年), his wife 花子, their son 一郎 (the applicant) and the son of their
// predeceased second son 次郎, 健太; family 1 the couple, family 2 次郎's.
class ListForm : public ::testing::Test {
protected:
    RegisterBuilder b;
    core::DrawingSettings s;
    int taro = 0, hanako = 0, ichiro = 0, jiro = 0, kenta = 0;

    void SetUp() override {
        taro = b.man("太郎");
        hanako = b.woman("花子");
        ichiro = b.man("一郎");
        jiro = b.man("次郎");
        kenta = b.man("健太");
        set(taro, "昭和５年３月１日", "令和４年１０月５日");
        b.reg.person(taro).住所1 = "東京都世田谷区北沢三丁目１２番５号";
        b.reg.person(taro).本籍1 = "東京都世田谷区北沢三丁目";
        b.reg.person(taro).本籍2 = "１２番地";
        set(hanako, "昭和８年７月２０日");
        b.reg.person(hanako).住所1 = "東京都世田谷区北沢三丁目１２番５号";
        set(ichiro, "昭和３２年５月５日");
        b.reg.person(ichiro).住所1 = "神奈川県横浜市港北区日吉本町一丁目４番２号";
        set(jiro, "昭和３８年９月１０日", "平成２０年６月１日");
        set(kenta, "平成４年４月８日");
        b.reg.person(kenta).住所1 = "千葉県千葉市中央区新町５番地";
        const int own = b.family(taro, hanako, 1);
        b.child(own, jiro, true, 0, "二男");
        b.child(own, ichiro, true, 0, "長男");
        const int second = b.family(jiro, 0, 1);
        b.reg.family(second).夫肩書 = "被代襲者";
        b.child(second, kenta, true, 0, "孫");
        for (int p : {hanako, ichiro, kenta}) {
            s.setHeir(p, true);
        }
        s.横書き = true;
        s.縦書き = false;
        s.法定相続情報一覧図にする = true;
        s.一覧図に住所を記載する = 1;
        s.申出人の当事者番号 = static_cast<std::int16_t>(ichiro);
        s.作成者の住所 = "神奈川県横浜市港北区日吉本町一丁目４番２号";
        s.作成者の氏名 = "山田一郎";
        s.作成日付 = "令和５年１月２０日";
    }
    void set(int p, const char* born, const char* died = "") {
        b.reg.person(p).生年月日 = born;
        b.reg.person(p).死亡年月日 = died;
    }
};

TEST_F(ListForm, BlocksInTheBureausOrder) {
    const std::vector<render::ListFormEntry> entries =
        render::listFormEntries(b.reg, s, taro, ichiro);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].lines,
              (std::vector<std::string>{"最後の住所　東京都世田谷区北沢三丁目１２番５号",
                                        "最後の本籍　東京都世田谷区北沢三丁目",
                                        "　　　　　　１２番地", "出生　昭和５年３月１日",
                                        "死亡　令和４年１０月５日", "（被相続人）", "山田太郎"}));
    EXPECT_EQ(entries[1].lines,
              (std::vector<std::string>{"住所　東京都世田谷区北沢三丁目１２番５号",
                                        "出生　昭和８年７月２０日", "（妻）", "山田花子"}));
    EXPECT_EQ(entries[2].lines.back(), "山田一郎　　（申出人）");
    EXPECT_EQ(entries[3].lines,
              (std::vector<std::string>{"（二男）", "被代襲者", "（平成２０年６月１日死亡）"}));
    EXPECT_EQ(entries[3].depth, 0);
    EXPECT_EQ(entries[4].person, kenta);
    EXPECT_EQ(entries[4].depth, 1);
    EXPECT_EQ(entries[4].lines[2], "（孫）");

    // Without addresses, and with the predeceased son's line not selected.
    s.一覧図に住所を記載する = 0;
    s.setHeir(kenta, false);
    const std::vector<render::ListFormEntry> fewer = render::listFormEntries(b.reg, s, taro, 0);
    ASSERT_EQ(fewer.size(), 3u);
    EXPECT_EQ(fewer[1].lines,
              (std::vector<std::string>{"出生　昭和８年７月２０日", "（妻）", "山田花子"}));
    EXPECT_EQ(fewer[2].lines.back(), "山田一郎");
}

TEST_F(ListForm, TheTextDrawing) {
    render::RecordingCanvasFactory factory;
    render::LegalChartOutcome prepared = render::prepareLegalChart(
        render::LegalChartKind::List, b.reg, s, 1, true, factory, {}, core::ListChartForm::List);
    ASSERT_TRUE(prepared.ok()) << prepared.failure->text;
    core::Environment env;
    env.最大世代数 = 30;
    env.一人が持てる最大家族数 = 10;
    env.一世帯当りの子供の最大数 = 20;
    render::ChartRequest request;
    request.textMode = true;
    render::SyntheticGlyphs glyphs;
    render::ChartOutcome drawn = render::drawLegalChart(*prepared.chart, env, request, glyphs);
    ASSERT_TRUE(drawn.ok()) << drawn.failure->text;
    const render::TextCanvas& text = *drawn.drawing->text;
    std::vector<std::string> rows;
    for (int r = 1; r <= text.rowCount(); ++r) {
        std::string row = text.rowText(r);
        while (row.size() >= 3 && row.compare(row.size() - 3, 3, "　") == 0) {
            row.erase(row.size() - 3);
        }
        rows.push_back(row);
    }
    // No line of the trees: the blocks one below the other, the representative indented.
    const std::vector<std::string> expected = {
        "　　　　　被相続人　山田太郎　　法定相続情報",
        "",
        "",
        "　　最後の住所　東京都世田谷区北沢三丁目１２番５号",
        "　　最後の本籍　東京都世田谷区北沢三丁目",
        "　　　　　　　　１２番地",
        "　　出生　昭和５年３月１日",
        "　　死亡　令和４年１０月５日",
        "　　（被相続人）",
        "　　山田太郎",
        "",
        "　　住所　東京都世田谷区北沢三丁目１２番５号",
        "　　出生　昭和８年７月２０日",
        "　　（妻）",
        "　　山田花子",
        "",
        "　　住所　神奈川県横浜市港北区日吉本町一丁目４番２号",
        "　　出生　昭和３２年５月５日",
        "　　（長男）",
        "　　山田一郎　　（申出人）",
        "",
        "　　（二男）",
        "　　被代襲者",
        "　　（平成２０年６月１日死亡）",
        "",
        "　　　　住所　千葉県千葉市中央区新町５番地",
        "　　　　出生　平成４年４月８日",
        "　　　　（孫）",
        "　　　　山田健太",
        "",
        "　　　　　　　　　　　　以下余白",
        "",
        "",
        "",
        "作成日：　　　令和５年１月２０日",
        "作成者：住所　神奈川県横浜市港北区日吉本町一丁目４番２号",
        "　　　　氏名　山田一郎",
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(drawn.drawing->familiesDrawn, 0);
    EXPECT_TRUE(drawn.drawing->blocks.empty());
}

} // namespace
