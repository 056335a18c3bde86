// The list chart's register rewriting (legal_list.h) on small registers worked out by hand:
// every case code with its labels and family changes, the second pass, the children taken
// out of their families, the words the list chart writes into dates and addresses, the
// lineage question, and that the caller's registers stay as they were.
#include "render/legal_list.h"

#include "tests/layout/register_builder.h"

#include <gtest/gtest.h>

namespace {

using layout_test::RegisterBuilder;

class ListChart : public ::testing::Test {
protected:
    RegisterBuilder b;
    std::vector<int> heirs;
    std::vector<bool> hidden;
    bool 家督相続 = false;
    bool addresses = false;
    std::vector<std::string> questions;
    std::optional<bool> answer = true;

    render::ListChartBuild tryBuild(int base) {
        render::ListChartOptions o;
        o.baseFamily = base;
        o.hidden = hidden;
        o.heirFlags.assign(static_cast<std::size_t>(b.reg.personCount()), 0);
        for (int h : heirs) {
            o.heirFlags[static_cast<std::size_t>(h - 1)] = 1;
        }
        o.家督相続 = 家督相続;
        o.一覧図に住所を記載する = addresses;
        return render::buildListChart(b.reg, o, [this](const layout::CentreQuestion& q) {
            questions.push_back(q.title + " / " + q.text);
            return answer;
        });
    }
    render::ListChartRegisters build(int base) {
        render::ListChartBuild r = tryBuild(base);
        if (!r.ok()) {
            throw std::runtime_error(r.failure->title + ": " + r.failure->text);
        }
        return std::move(*r.result);
    }
    static std::string label(const render::ListChartRegisters& r, int p) {
        return r.reg.person(p).備考1;
    }
    static std::string code(const render::ListChartRegisters& r, int p) {
        return r.reg.person(p).備考2;
    }
    static std::string surname(const render::ListChartRegisters& r, int p) {
        return r.reg.person(p).姓;
    }
};

// The deceased 太郎 with his parents' family (family 1) above him and his own family
// (family 2, wife 花子, son 一郎): the parents' case code follows which of them inherit.
TEST_F(ListChart, TheParentsFamilyByWhichParentsInherit) {
    const struct {
        bool fatherHeir, motherHeir;
        int code;
        const char *father, *mother; // 備考1, or the name when it was replaced
        int husbandLeft, wifeLeft, form, lineage;
    } rows[] = {
        {true, false, 1, "（父）", "", 1, 0, 1, 1},
        {false, true, 2, "", "（母）", 0, 1, 1, 2},
        {true, true, 3, "（父）", "（母）", 1, 1, 0, 1},
        {false, false, 6, "（父）", "（母）", 1, 1, 0, 1},
    };
    for (const auto& row : rows) {
        b = RegisterBuilder();
        const int father = b.man("源蔵");
        const int mother = b.woman("トメ");
        const int parents = b.family(father, mother, 1);
        const int taro = b.man("太郎");
        b.child(parents, taro, true, 0, "長男");
        const int hanako = b.woman("花子");
        const int own = b.family(taro, hanako, 1);
        const int ichiro = b.man("一郎");
        b.child(own, ichiro, true, 0, "長男");
        heirs = {hanako, ichiro};
        if (row.fatherHeir) {
            heirs.push_back(father);
        }
        if (row.motherHeir) {
            heirs.push_back(mother);
        }
        const render::ListChartRegisters r = build(own);
        SCOPED_TRACE("case " + std::to_string(row.code));
        EXPECT_EQ(r.caseCodes[0], row.code);
        const core::家族& f = r.reg.family(parents);
        EXPECT_EQ(f.夫NO, row.husbandLeft ? father : 0);
        EXPECT_EQ(f.妻NO, row.wifeLeft ? mother : 0);
        EXPECT_EQ(f.形態, static_cast<core::UnionForm>(row.form));
        EXPECT_EQ(f.系統_F, static_cast<core::Lineage>(row.lineage));
        if (row.code == 6) {
            // Neither inherits: the names themselves become the labels.
            EXPECT_EQ(surname(r, father), "（父）");
            EXPECT_EQ(r.reg.person(father).名, "");
            EXPECT_EQ(label(r, father), "");
            EXPECT_EQ(surname(r, mother), "（母）");
            EXPECT_EQ(code(r, mother), "06");
        } else {
            if (row.fatherHeir) {
                EXPECT_EQ(label(r, father), row.father);
                EXPECT_EQ(code(r, father), "0" + std::to_string(row.code));
                EXPECT_EQ(surname(r, father), "山田");
            }
            if (row.motherHeir) {
                EXPECT_EQ(label(r, mother), row.mother);
            }
        }
        // The deceased keeps his child label only until his own family names him; the
        // wife who inherits is the spouse.
        EXPECT_EQ(r.caseCodes[1], 4);
        EXPECT_EQ(label(r, taro), "（被相続人）");
        EXPECT_EQ(code(r, taro), "04");
        EXPECT_EQ(label(r, hanako), "（配偶者）");
        EXPECT_EQ(label(r, ichiro), "（長男）");
    }
}

// Titles other than the plain ones are the labels, in brackets.
TEST_F(ListChart, TitlesBecomeTheLabels) {
    const int father = b.man("源蔵");
    const int mother = b.woman("トメ");
    const int parents = b.family(father, mother, 1);
    b.reg.family(parents).夫肩書 = "養父";
    b.reg.family(parents).妻肩書 = "養母";
    const int taro = b.man("太郎");
    b.child(parents, taro);
    const int hanako = b.woman("花子");
    const int own = b.family(taro, hanako, 1);
    b.reg.family(own).妻肩書 = "後妻";
    heirs = {father, mother, hanako};
    const render::ListChartRegisters r = build(own);
    EXPECT_EQ(label(r, father), "（養父）");
    EXPECT_EQ(label(r, mother), "（養母）");
    EXPECT_EQ(label(r, hanako), "（後妻）");
    // A child without a title is "（子）".
    EXPECT_EQ(render::fatherLabel(""), "（父）");
    EXPECT_EQ(render::spouseLabel("夫", "夫"), "（配偶者）");
}

// Single parents above the deceased: 9 and 10 label an heir, 11 and 12 replace the name of
// one who does not inherit.
TEST_F(ListChart, SingleParentFamilies) {
    const struct {
        bool fatherSide, heir;
        int code;
        const char* expected;
    } rows[] = {
        {true, true, 9, "（父）"},
        {false, true, 10, "（母）"},
        {true, false, 11, "（父）"},
        {false, false, 12, "（母）"},
    };
    for (const auto& row : rows) {
        b = RegisterBuilder();
        const int parent = row.fatherSide ? b.man("源蔵") : b.woman("トメ");
        const int parents = row.fatherSide ? b.family(parent, 0, 1) : b.family(0, parent, 2);
        const int taro = b.man("太郎");
        b.child(parents, taro);
        const int own = b.family(taro, 0, 1);
        b.child(own, b.man("一郎"));
        heirs = {b.reg.personCount()};
        if (row.heir) {
            heirs.push_back(parent);
        }
        const render::ListChartRegisters r = build(own);
        SCOPED_TRACE("case " + std::to_string(row.code));
        EXPECT_EQ(r.caseCodes[0], row.code);
        EXPECT_EQ(row.heir ? label(r, parent) : surname(r, parent), row.expected);
        EXPECT_EQ(code(r, parent), (row.code < 10 ? "0" : "") + std::to_string(row.code));
        // The deceased alone in his household: 13.
        EXPECT_EQ(r.caseCodes[1], 13);
        EXPECT_EQ(label(r, taro), "（被相続人）");
        EXPECT_EQ(code(r, taro), "13");
    }
}

// A deceased woman: 5 with a husband who inherits, 14 alone, 8 with one who does not; in
// case 8 the husband leaves the family when she married only once.
TEST_F(ListChart, ADeceasedWife) {
    const int husband = b.man("一");
    const int hanako = b.woman("花子");
    const int own = b.family(husband, hanako, 2);
    const int child = b.man("一郎");
    b.child(own, child);
    heirs = {husband, child};
    render::ListChartRegisters r = build(own);
    EXPECT_EQ(r.caseCodes[0], 5);
    EXPECT_EQ(label(r, husband), "（配偶者）");
    EXPECT_EQ(label(r, hanako), "（被相続人）");
    EXPECT_EQ(r.deceased, hanako);

    heirs = {child};
    r = build(own);
    EXPECT_EQ(r.caseCodes[0], 8);
    EXPECT_EQ(code(r, husband), "08");
    EXPECT_EQ(r.reg.family(own).夫NO, 0) << "counter 1: the husband is left out";
    EXPECT_EQ(r.reg.family(own).形態, core::UnionForm::NonMarital);

    b.reg.family(own).夫NO = 0;
    r = build(own);
    EXPECT_EQ(r.caseCodes[0], 14);
    EXPECT_EQ(code(r, hanako), "14");
}

// Case 7: a wife who does not inherit. With one marriage she is left out; when the deceased
// married again she stays as a title, "（女）" for the plain title, else hers; a childless
// one is left out all the same.
TEST_F(ListChart, TheWifeOfADeceasedWhoMarriedMoreThanOnce) {
    const int taro = b.man("太郎");
    const int first = b.woman("幸子");
    const int earlier = b.family(taro, first, 1);
    const int ichiro = b.man("一郎");
    b.child(earlier, ichiro, true, 0, "長男");
    heirs = {ichiro};
    render::ListChartRegisters r = build(earlier);
    EXPECT_EQ(r.caseCodes[0], 7);
    EXPECT_EQ(code(r, first), "07");
    EXPECT_EQ(label(r, first), "");
    EXPECT_EQ(code(r, taro), "07");
    EXPECT_EQ(r.reg.family(earlier).妻NO, 0);
    EXPECT_EQ(r.counters[static_cast<std::size_t>(taro - 1)], 1);

    const int hanako = b.woman("花子");
    const int later = b.family(taro, hanako, 1);
    heirs = {ichiro, hanako};
    r = build(later);
    EXPECT_EQ(r.caseCodes[1], 4);
    EXPECT_EQ(r.counters[static_cast<std::size_t>(taro - 1)], 2);
    EXPECT_EQ(code(r, taro), "04") << "case 4 writes its code over the earlier 07";
    EXPECT_EQ(r.reg.family(earlier).妻NO, first);
    EXPECT_EQ(surname(r, first), "（女）");
    EXPECT_EQ(r.reg.person(first).名, "");

    b.reg.family(earlier).妻肩書 = "先妻";
    r = build(later);
    EXPECT_EQ(surname(r, first), "（先妻）");

    heirs = {hanako}; // 一郎 leaves the family: no children there
    r = build(later);
    EXPECT_EQ(r.reg.family(earlier).妻NO, 0);
}

// The son 次郎 died before his father; his family names him "被代襲者" and his son inherits
// in his place (case 15). He stays under his parents although he was not chosen as an heir.
TEST_F(ListChart, APredeceasedSonAndHisChild) {
    const int taro = b.man("太郎");
    const int hanako = b.woman("花子");
    const int own = b.family(taro, hanako, 1);
    const int jiro = b.man("次郎");
    b.child(own, jiro, true, 0, "二男");
    core::当事者& j = b.reg.person(jiro);
    j.死亡年月日 = "平成２０年６月１日";
    j.生年月日 = "昭和３８年";
    j.住所1 = "東京都";
    j.本籍1 = "東京都";
    const int keiko = b.woman("恵子");
    const int his = b.family(jiro, keiko, 1);
    b.reg.family(his).夫肩書 = "被代襲者";
    const int kenta = b.man("健太");
    b.child(his, kenta, true, 0, "長男");
    heirs = {hanako, kenta};
    render::ListChartRegisters r = build(own);
    EXPECT_EQ(r.caseCodes[1], 15);
    EXPECT_EQ(r.reg.family(own).子数(), 1) << "次郎 stays the child of the deceased";
    EXPECT_EQ(surname(r, jiro), "被代襲者");
    EXPECT_EQ(r.reg.person(jiro).名, "");
    EXPECT_EQ(code(r, jiro), "15");
    EXPECT_EQ(r.heirFlags[static_cast<std::size_t>(jiro - 1)], 1);
    // Step 5: no label, dates, domicile or address, only the death in brackets.
    EXPECT_EQ(label(r, jiro), "");
    EXPECT_EQ(r.reg.person(jiro).死亡年月日, "（平成２０年６月１日死亡）");
    EXPECT_EQ(r.reg.person(jiro).生年月日, "");
    EXPECT_EQ(r.reg.person(jiro).住所1, "");
    EXPECT_EQ(r.reg.person(jiro).本籍1, "");
    // His wife is left out: he married once.
    EXPECT_EQ(r.reg.family(his).妻NO, 0);
    EXPECT_EQ(label(r, kenta), "（長男）");

    // Married twice, both families name him "被代襲者": each wife keeps her place, as the
    // spouse label.
    const int second = b.woman("二");
    const int other = b.family(jiro, second, 1);
    b.reg.family(other).夫肩書 = "被代襲者";
    const int grandchild = b.woman("孫");
    b.child(other, grandchild);
    heirs = {hanako, kenta, grandchild};
    r = build(own);
    EXPECT_EQ(r.counters[static_cast<std::size_t>(jiro - 1)], 2);
    EXPECT_EQ(r.reg.family(his).妻NO, keiko);
    EXPECT_EQ(surname(r, keiko), "（配偶者）");
    EXPECT_EQ(label(r, keiko), "");
}

TEST_F(ListChart, APredeceasedDaughterAndTheErrorWithoutChildren) {
    const int taro = b.man("太郎");
    const int own = b.family(taro, 0, 1);
    const int ume = b.woman("梅子");
    b.child(own, ume, true, 0, "長女");
    const int husband = b.man("一");
    const int hers = b.family(husband, ume, 2);
    b.reg.family(hers).妻肩書 = "被代襲者";
    const int child = b.man("孫");
    b.child(hers, child);
    heirs = {child};
    render::ListChartRegisters r = build(own);
    EXPECT_EQ(r.caseCodes[1], 16);
    EXPECT_EQ(surname(r, ume), "被代襲者");
    EXPECT_EQ(r.reg.family(hers).夫NO, 0);

    // The grandchild is not an heir: it leaves the family, which is then an error.
    heirs = {};
    const render::ListChartBuild failed = tryBuild(own);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.failure->kind, render::ListChartFailure::Kind::NoSubstituteHeirs);
    EXPECT_EQ(failed.failure->title, "代襲相続の設定エラー");
    EXPECT_EQ(failed.failure->text, "家族番号2の被代襲者「山田梅子」に相続権のある子供がいません");
}

// The deceased's own "被代襲者" title is taken as the plain title.
TEST_F(ListChart, TheDeceasedIsNeverTheSubstitutedHeir) {
    const int taro = b.man("太郎");
    const int hanako = b.woman("花子");
    const int own = b.family(taro, hanako, 1);
    b.reg.family(own).夫肩書 = "被代襲者";
    heirs = {hanako};
    const render::ListChartRegisters r = build(own);
    EXPECT_EQ(r.caseCodes[0], 4);
    EXPECT_EQ(surname(r, taro), "山田");
}

// A family in which the deceased is not the spouse its case code is about (her second
// marriage is on the husband's side): she keeps her name and her place.
TEST_F(ListChart, TheDeceasedIsNeverRenamedOrLeftOut) {
    const int hanako = b.woman("花子");
    const int first = b.man("一");
    const int own = b.family(first, hanako, 2);
    b.child(own, b.man("一郎"));
    const int second = b.man("二");
    const int later = b.family(second, hanako, 1);
    b.child(later, b.woman("春子"));
    heirs = {first, 3, second, 5}; // 一, 一郎, 二, 春子
    render::ListChartRegisters r = build(own);
    EXPECT_EQ(r.caseCodes[1], 1) << "of the spouses only the husband 二 is an heir";
    EXPECT_EQ(r.reg.family(later).妻NO, hanako);
    EXPECT_EQ(surname(r, hanako), "山田");

    heirs = {first, 3, 5};
    r = build(own);
    EXPECT_EQ(r.caseCodes[1], 6);
    EXPECT_EQ(surname(r, hanako), "山田");
    EXPECT_EQ(surname(r, second), "（父）");
    EXPECT_EQ(label(r, hanako), "（被相続人）");
}

// Step 2: children who are neither heirs nor the deceased leave the family, those after
// them move up, parent links to the family are cleared and descendant flags follow; no
// child is drawn as adopted.
TEST_F(ListChart, ChildrenWhoDoNotInheritLeaveTheFamily) {
    const int taro = b.man("太郎");
    const int hanako = b.woman("花子");
    const int own = b.family(taro, hanako, 1);
    const int first = b.man("一郎");
    const int gone = b.woman("春子");
    const int adopted = b.woman("優子");
    b.child(own, first, true, 0, "長男");
    b.child(own, gone, true, 0, "長女");
    b.child(own, adopted, true, 1, "");
    core::当事者& g = b.reg.person(gone);
    g.実父NO = static_cast<std::int16_t>(taro);
    g.実母NO = static_cast<std::int16_t>(hanako);
    g.父母家族NO = static_cast<std::int16_t>(own);
    // 春子 is also a child of a hidden family, which keeps her.
    const int other = b.family(b.man("甲"), b.woman("乙"), 1);
    b.child(other, gone, false);
    hidden = {false, true};
    heirs = {hanako, first, adopted};
    const render::ListChartRegisters r = build(own);
    const core::家族& f = r.reg.family(own);
    ASSERT_EQ(f.子数(), 2);
    EXPECT_EQ(f.child(1).子NO, first);
    EXPECT_EQ(f.child(2).子NO, adopted);
    EXPECT_EQ(f.child(2).子の形態, core::ChildKind::Birth);
    EXPECT_EQ(label(r, adopted), "（子）");
    const core::当事者& out = r.reg.person(gone);
    EXPECT_EQ(out.実父NO, 0);
    EXPECT_EQ(out.実母NO, 0);
    EXPECT_EQ(out.父母家族NO, 0);
    EXPECT_EQ(out.子孫_F, other) << "drawn under the family that still has her";
    EXPECT_EQ(out.子孫_FL, other);
    EXPECT_EQ(r.reg.family(other).子数(), 1) << "a hidden family is left as it is";
    EXPECT_EQ(r.caseCodes[1], 0);
}

// Step 6: the parents of the wife (family 3), who do not inherit and keep no child once their
// daughter's entry (a link copy) leaves, would be two bare labels; they are left out. The
// deceased's own parents (family 1) stay: their child is the deceased. A lone label with
// no child (family 4) goes too, a spouse who inherits (family 5) keeps the family.
TEST_F(ListChart, FamiliesOfBareLabelsAreLeftOut) {
    const int father = b.man("源蔵");
    const int mother = b.woman("トメ");
    const int parents = b.family(father, mother, 1);
    const int taro = b.man("太郎");
    b.child(parents, taro, true, 0, "長男");
    const int hanako = b.woman("花子");
    const int own = b.family(taro, hanako, 1);
    const int inLaws = b.family(b.man("正男"), b.woman("キヨ"), 2);
    const int copy = b.woman("花子");
    b.reg.person(copy).C_当事者NO = static_cast<std::int16_t>(hanako);
    b.child(inLaws, copy, true, 0, "長女");
    b.family(b.man("甲"), 0, 1);
    const int heir = b.woman("春子");
    b.family(b.man("乙"), heir, 2);
    heirs = {hanako, heir};
    const render::ListChartRegisters r = build(own);
    EXPECT_EQ(r.caseCodes[static_cast<std::size_t>(inLaws - 1)], 6);
    EXPECT_EQ(r.leftOut, (std::vector<int>{inLaws, 4}));
}

// Step 5: the deceased's last address, last domicile, or neither, and the retirement of the
// old family law.
TEST_F(ListChart, TheDeceasedsDatesAndAddresses) {
    const int taro = b.man("太郎");
    const int own = b.family(taro, 0, 1);
    const int child = b.man("一郎");
    b.child(own, child);
    heirs = {child};
    core::当事者& t = b.reg.person(taro);
    t.生年月日 = "昭和５年";
    t.死亡年月日 = "令和４年";
    const struct {
        const char *address, *domicile;
        bool retired;
        const char *本籍1, *住所1, *住所2, *death;
    } rows[] = {
        {"大阪府", "東京都", false, "最後の住所", "大阪府", "", "死亡　令和４年"},
        {"", "東京都", false, "最後の本籍", "東京都", "１番地", "死亡　令和４年"},
        {"", "", false, "最後の住所", "　", "", "死亡　令和４年"},
        {"大阪府", "東京都", true, "隠居時の本籍", "東京都", "１番地", "隠居　令和４年"},
        {"大阪府", "", true, "隠居時の本籍", "　", "", "隠居　令和４年"},
    };
    for (const auto& row : rows) {
        t.住所1 = row.address;
        t.本籍1 = row.domicile;
        t.本籍2 = *row.domicile ? "１番地" : "";
        家督相続 = row.retired;
        const render::ListChartRegisters r = build(own);
        const core::当事者& d = r.reg.person(taro);
        SCOPED_TRACE(std::string(row.address) + "/" + row.domicile + (row.retired ? " 隠居" : ""));
        EXPECT_EQ(d.本籍1, row.本籍1);
        EXPECT_EQ(d.本籍2, "");
        EXPECT_EQ(d.住所1, row.住所1);
        EXPECT_EQ(d.住所2, row.住所2);
        EXPECT_EQ(d.死亡年月日, row.death);
        EXPECT_EQ(d.生年月日, "出生　昭和５年");
    }
}

// Heirs keep their address only when the list chart shows addresses; everyone else keeps
// only the name and the label.
TEST_F(ListChart, HeirsAddressesAndTheOthers) {
    const int taro = b.man("太郎");
    const int first = b.woman("幸子");
    const int earlier = b.family(taro, first, 1);
    const int hanako = b.woman("花子");
    const int own = b.family(taro, hanako, 1);
    const int child = b.man("一郎");
    b.child(earlier, child);
    for (int p : {first, hanako, child}) {
        core::当事者& x = b.reg.person(p);
        x.住所1 = "大阪府";
        x.住所2 = "２階";
        x.本籍1 = "東京都";
        x.生年月日 = "昭和";
        x.死亡年月日 = "令和";
    }
    b.reg.person(hanako).住所2 = "";
    heirs = {hanako, child};
    addresses = true;
    render::ListChartRegisters r = build(own);
    EXPECT_EQ(r.reg.person(child).住所1, "住所　大阪府");
    EXPECT_EQ(r.reg.person(child).住所2, "　　　２階");
    EXPECT_EQ(r.reg.person(hanako).住所2, "");
    EXPECT_EQ(r.reg.person(child).本籍1, "");
    EXPECT_EQ(r.reg.person(child).死亡年月日, "");
    EXPECT_EQ(r.reg.person(child).生年月日, "出生　昭和");
    // The first wife ("（女）", the deceased married twice) keeps nothing else.
    const core::当事者& f = r.reg.person(first);
    EXPECT_EQ(f.姓, "（女）");
    EXPECT_EQ(f.住所1 + f.住所2 + f.本籍1 + f.生年月日 + f.死亡年月日, "");

    addresses = false;
    r = build(own);
    EXPECT_EQ(r.reg.person(child).住所1, "");
    EXPECT_EQ(r.reg.person(child).住所2, "");
}

// The rewriting works on a copy: the registers given are exactly as before.
TEST_F(ListChart, TheCallersRegistersAreNotChanged) {
    const int father = b.man("源蔵");
    const int parents = b.family(father, b.woman("トメ"), 1);
    const int taro = b.man("太郎");
    b.child(parents, taro, true, 0, "長男");
    const int own = b.family(taro, b.woman("花子"), 1);
    b.child(own, b.man("一郎"));
    b.child(own, b.woman("春子"), true, 1);
    b.reg.person(taro).備考1 = "メモ";
    const core::Registers before = b.reg;
    heirs = {b.reg.personCount()};
    const render::ListChartRegisters r = build(own);
    EXPECT_EQ(b.reg, before);
    EXPECT_NE(r.reg, before);
}

// A visible family whose lineage is not set is asked about (hidden ones are not); without an
// answer nothing is built.
TEST_F(ListChart, TheLineageQuestion) {
    const int taro = b.man("太郎");
    const int own = b.family(taro, b.woman("花子"), 1);
    const int child = b.man("一郎");
    b.child(own, child);
    b.family(b.man("甲"), b.woman("乙"), 0);
    b.family(b.man("丙"), b.woman("丁"), 0);
    hidden = {false, false, true};
    heirs = {child};
    render::ListChartRegisters r = build(own);
    EXPECT_EQ(
        questions,
        (std::vector<std::string>{
            "作図の中心となる人物が決まっていません / 家族No. 2は、男性を中心に作図しますか？"}));
    EXPECT_EQ(r.reg.family(2).系統_F, core::Lineage::Paternal);
    EXPECT_EQ(r.answeredLineages,
              (std::vector<std::pair<int, core::Lineage>>{{2, core::Lineage::Paternal}}));
    EXPECT_EQ(b.reg.family(2).系統_F, core::Lineage::Unset);

    answer = std::nullopt;
    const render::ListChartBuild failed = tryBuild(own);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.failure->kind, render::ListChartFailure::Kind::LineageUnanswered);
    EXPECT_EQ(failed.failure->family, 2);
    EXPECT_EQ(failed.failure->text, "家族No. 2は、男性を中心に作図しますか？");
}

} // namespace
