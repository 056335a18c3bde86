// The checks before a legal chart: a clean family raises nothing, and each finding is raised
// by the smallest change to it that causes it.
#include "render/legal_checks.h"

#include "core/data_folder.h"
#include "core/environment.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using render::Finding;

// 山田太郎 (1, died 令和４年), his wife 花子 (2) and their son 一郎 (3, the applicant and
// creator); family 1, lineage through the husband.
struct Folder {
    core::Registers reg;
    core::DrawingSettings s;
    render::LegalCheckRequest request;

    Folder() {
        add(1, "太郎", "昭和５年３月１日", "令和４年１０月５日");
        add(2, "花子", "昭和８年７月２０日");
        add(1, "一郎", "昭和３２年５月５日");
        core::家族 f;
        f.夫婦確定_f = 1;
        f.婚姻NO = 1;
        f.夫NO = 1;
        f.妻NO = 2;
        f.夫肩書 = "夫";
        f.妻肩書 = "妻";
        f.系統_F = core::Lineage::Paternal;
        f.子.push_back({3, "長男", core::ChildKind::Birth, "", ""});
        reg.families.push_back(f);
        s.familyEntries.push_back({"1", 0});
        s.setHeir(2, true);
        s.setHeir(3, true);
        s.申出人の当事者番号 = 3;
        s.作成者の氏名 = "山田一郎";
        s.作成日付 = "令和５年１月２０日";
        request.baseFamily = 1;
        request.deceased = 1;
    }
    int add(int sex, const char* given, const char* born, const char* died = "") {
        core::当事者 p;
        p.当事者NO = p.C_当事者NO = static_cast<std::int16_t>(reg.personCount() + 1);
        p.男女 = static_cast<std::int16_t>(sex);
        p.姓 = "山田";
        p.名 = given;
        p.生年月日 = born;
        p.死亡年月日 = died;
        p.住所1 = "東京都世田谷区北沢三丁目１２番５号";
        p.本籍1 = "東京都世田谷区北沢三丁目";
        reg.persons.push_back(p);
        return p.当事者NO;
    }
    // 一郎 died before his father, leaving 健太 (4), titled `title`, in family 2.
    void predeceasedSon(const char* husbandTitle, const char* title) {
        reg.person(3).死亡年月日 = "平成２０年６月１日";
        const int kenta = add(1, "健太", "平成４年４月８日");
        core::家族 f;
        f.夫婦確定_f = 1;
        f.婚姻NO = 2;
        f.夫NO = 3;
        f.夫肩書 = husbandTitle;
        f.系統_F = core::Lineage::Paternal;
        f.子.push_back({static_cast<std::int16_t>(kenta), title, core::ChildKind::Birth, "", ""});
        reg.families.push_back(f);
        s.familyEntries.push_back({"2", 0});
        s.setHeir(3, false);
        s.setHeir(kenta, true);
        s.申出人の当事者番号 = 2;
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (const Finding& f : render::checkLegalChart(reg, s, request)) {
            out.push_back(f.line());
        }
        return out;
    }
};

std::string joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) {
        s += l + "\n";
    }
    return s;
}

TEST(LegalChecks, ACleanFamilyRaisesNothing) {
    Folder clean;
    EXPECT_EQ(joined(clean.lines()), "");
    clean.request.kind = render::LegalChartKind::Explanation;
    EXPECT_EQ(joined(clean.lines()), "");
    clean.predeceasedSon("被代襲者", "孫");
    clean.request.kind = render::LegalChartKind::List;
    EXPECT_EQ(joined(clean.lines()), "");
}

struct Row {
    const char* name;
    std::function<void(Folder&)> change;
    const char* expected; // one finding's line (a part of it)
    std::size_t count;    // the findings in all
};

TEST(LegalChecks, EachFindingByTheSmallestChange) {
    const Row rows[] = {
        {"no heir selected",
         [](Folder& f) {
             f.s.setHeir(2, false);
             f.s.setHeir(3, false);
             f.s.この系図では設定の記載を省略 = 1;
         },
         "誤り：相続人が一人も選ばれていません", 3},
        {"an heir who died before",
         [](Folder& f) { f.reg.person(3).死亡年月日 = "平成２０年６月１日"; },
         "誤り：当事者NO.3 山田一郎は被相続人より前（平成２０年６月１日）に死亡", 1},
        {"an heir who died on the same day",
         [](Folder& f) { f.reg.person(3).死亡年月日 = "令和４年１０月５日"; },
         "誤り：当事者NO.3 山田一郎は被相続人と同じ日", 1},
        {"a selected person who is no heir",
         [](Folder& f) {
             const int g = f.add(1, "翔", "昭和６２年３月３０日");
             core::家族 own;
             own.夫NO = 3;
             own.子.push_back({static_cast<std::int16_t>(g), "長男", {}, "", ""});
             f.reg.families.push_back(own);
             f.s.setHeir(g, true);
         },
         "誤り：当事者NO.4 山田翔は法定相続人ではありません（親が相続人（代襲しない））", 1},
        {"an heir not selected",
         [](Folder& f) {
             f.s.setHeir(3, false);
             f.s.申出人の当事者番号 = 2;
         },
         "誤り：当事者NO.3 山田一郎（長男、相続分 1/2）は法定相続人ですが選ばれていません", 1},
        {"a representative titled as a son",
         [](Folder& f) { f.predeceasedSon("被代襲者", "長男"); },
         "誤り：当事者NO.4 "
         "山田健太は代襲者なので、続柄は「孫」です（家族No.2の子の肩書がいまは「長男」）",
         1},
        {"a predeceased son not marked 被代襲者", [](Folder& f) { f.predeceasedSon("夫", "孫"); },
         "誤り：当事者NO.3 "
         "山田一郎は被代襲者です（家族No.2の夫の肩書を「被代襲者」にしてください）",
         1},
        {"a child titled plain 子", [](Folder& f) { f.reg.family(1).子[0].子の肩書 = "子"; },
         "注意：当事者NO.3 "
         "山田一郎の続柄が「子」です（家族No.1の子の肩書は、出生順と性別からは「長男」）",
         1},
        {"the deceased without a death date", [](Folder& f) { f.reg.person(1).死亡年月日.clear(); },
         "誤り：当事者NO.1 山田太郎（被相続人）の死亡年月日がありません", 1},
        {"the deceased without an address or a domicile",
         [](Folder& f) {
             f.reg.person(1).住所1.clear();
             f.reg.person(1).本籍1.clear();
         },
         "誤り：当事者NO.1 山田太郎（被相続人）の最後の住所も最後の本籍もありません", 1},
        {"the deceased without an address", [](Folder& f) { f.reg.person(1).住所1.clear(); },
         "注意：当事者NO.1 山田太郎（被相続人）の最後の住所がありません", 1},
        {"no applicant", [](Folder& f) { f.s.申出人の当事者番号 = 0; },
         "誤り：申出人が選ばれていません", 1},
        {"an applicant who is no heir", [](Folder& f) { f.s.申出人の当事者番号 = 1; },
         "誤り：申出人の当事者NO.1 山田太郎は選ばれた相続人ではありません", 1},
        {"no creator", [](Folder& f) { f.s.作成者の氏名.clear(); },
         "誤り：作成者の氏名がありません", 1},
        {"no date of making", [](Folder& f) { f.s.作成日付.clear(); }, "誤り：作成日付がありません",
         1},
        {"a date of making that is no date", [](Folder& f) { f.s.作成日付 = "令和５年２月３０日"; },
         "誤り：作成日付「令和５年２月３０日」は日付として読めません（２月は２８日までです）", 1},
        {"a birth date that is no date",
         [](Folder& f) { f.reg.person(2).生年月日 = "昭和９９年１３月４０日"; },
         "誤り：当事者NO.2 山田花子の生年月日「昭和９９年１３月４０日」は日付として読めません", 1},
        {"a birth after the death",
         [](Folder& f) { f.reg.person(1).生年月日 = "令和４年１２月１日"; },
         "誤り：当事者NO.1 山田太郎は死亡（令和４年１０月５日）より後に生まれています", 1},
    };
    for (const Row& row : rows) {
        Folder f;
        row.change(f);
        const std::vector<std::string> lines = f.lines();
        const std::string all = joined(lines);
        EXPECT_NE(all.find(row.expected), std::string::npos) << row.name << ":\n" << all;
        EXPECT_EQ(lines.size(), row.count) << row.name << ":\n" << all;
    }
}

// The blocks left out need no applicant or creator; the list form writes a representative's
// relationship itself, and the explanation chart has no heirs to check and reports the
// dates of persons who are not on the document as worth a look only.
TEST(LegalChecks, WhatTheFormAndTheChartLeaveOut) {
    Folder omitted;
    omitted.s.この系図では設定の記載を省略 = 1;
    omitted.s.申出人の当事者番号 = 0;
    omitted.s.作成者の氏名.clear();
    EXPECT_EQ(joined(omitted.lines()), "");

    Folder listForm;
    listForm.predeceasedSon("夫", "長男");
    listForm.request.form = core::ListChartForm::List;
    EXPECT_EQ(joined(listForm.lines()), "");

    Folder explanation;
    explanation.request.kind = render::LegalChartKind::Explanation;
    explanation.s.setHeir(3, false);
    explanation.reg.person(3).生年月日 = "昭和３２年頃";
    const std::vector<std::string> lines = explanation.lines();
    ASSERT_EQ(lines.size(), 1u) << joined(lines);
    EXPECT_EQ(lines[0].rfind("注意：当事者NO.3 山田一郎の生年月日「昭和３２年頃」", 0), 0u);
}

// FORM10's lines beside the heir list: share, relationship and person; what cannot be worked
// out is said instead of an empty list.
TEST(HeirShareLines, SharesOrWhyThereAreNone) {
    Folder f;
    f.predeceasedSon("被代襲者", "孫");
    EXPECT_EQ(render::heirShareLines(f.reg, core::workOutHeirs(f.reg, 1)),
              (std::vector<std::string>{"1/2　妻　当事者NO.2 山田花子",
                                        "1/2　孫（代襲者）　当事者NO.4 山田健太"}));
    EXPECT_EQ(render::heirShareLines(f.reg, core::workOutHeirs(f.reg, 0)),
              (std::vector<std::string>{render::kDeceasedUnknown}));
    f.reg.person(1).死亡年月日 = "昭和２０年１月１日";
    EXPECT_EQ(render::heirShareLines(f.reg, core::workOutHeirs(f.reg, 1)),
              (std::vector<std::string>{"旧民法の時代の相続なので、相続人は自動では求めません"}));
    f.reg.person(1).死亡年月日 = "令和４年頃";
    EXPECT_EQ(render::heirShareLines(f.reg, core::workOutHeirs(f.reg, 1)).back(),
              "日付が読めないため、決まらない相続人・相続分があります");
}

// The sample folder: 健太 inherits in his father's place but is titled 長男, and 拓也's title
// is the plain 子.
TEST(LegalChecks, TheSamples) {
    const core::DataFolder data = core::DataFolder::load(
        TSUBAKI_SAMPLES_DIR,
        core::readEnvironment(std::string(TSUBAKI_SAMPLES_DIR) + "/KANKYO.TXT"),
        [] { return true; });
    render::LegalCheckRequest r;
    r.baseFamily = 3;
    r.deceased = 1;
    const std::vector<Finding> findings = render::checkLegalChart(data.reg, data.settings, r);
    std::vector<std::string> lines;
    for (const Finding& f : findings) {
        lines.push_back(f.line());
    }
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "誤り：当事者NO.8 山田健太は代襲者なので、続柄は「孫」です（家族No.6の子の肩書"
                  "がいまは「長男」）",
                  "注意：当事者NO.13 木村拓也の続柄が「子」です（家族No.4の子の肩書は、出生順と"
                  "性別からは「長男」）"}));
    EXPECT_TRUE(render::hasErrors(findings));
}

} // namespace
