// Coordinate assignment, worked out by hand with a 10 × 10 cell and no spacing: a
// name-only block is one row (10) high in horizontal writing, a couple takes its two
// blocks, the 50-pixel marriage gap and the 20-pixel gap after it.
#include "layout/chart_layout.h"
#include "register_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

using layout_test::RegisterBuilder;
using layout_test::survey;

namespace {

layout::BlockStyle cell10(bool vertical) {
    layout::BlockStyle s;
    s.CW = 10;
    s.CH = 10;
    s.vertical = vertical;
    return s;
}

// The slot of a person's own block (its household, or the spouse slot in a couple).
const layout::SlotLayout& blockOf(const layout::ChartLayout& c, int person, int family) {
    for (const auto& sl : c.slots) {
        if (sl.person == person && sl.family == family &&
            (sl.kind == layout::SlotKind::Spouse || sl.kind == layout::SlotKind::SingleParent)) {
            return sl;
        }
    }
    throw std::runtime_error("no block");
}

const layout::SlotLayout& leafOf(const layout::ChartLayout& c, int person) {
    for (const auto& sl : c.slots) {
        if (sl.person == person && sl.kind == layout::SlotKind::Leaf) {
            return sl;
        }
    }
    throw std::runtime_error("no leaf");
}

// Names that give every block the same width: "　Ｘ" for a head or child (40 wide) and
// "（妻）Ｘ" for a spouse (60 wide).
int person(RegisterBuilder& b, int sex) {
    return b.person(sex, "", "Ｘ");
}

TEST(Positioning, ASubtreeMovesForwardWithItsDeeperLevels) {
    RegisterBuilder b;
    const int root = person(b, 1);
    const int f0 = b.family(root, person(b, 2), 1);
    const int a = person(b, 1);
    b.child(f0, a);
    const int b_ = person(b, 1);
    b.child(f0, b_);
    const int fa = b.family(a, person(b, 2));
    const int a1 = person(b, 1);
    b.child(fa, a1);
    const int fa1 = b.family(a1, person(b, 2));
    const int a11 = person(b, 2);
    b.child(fa1, a11);
    const int fb = b.family(b_, person(b, 2));
    const int b1 = person(b, 2);
    b.child(fb, b1);
    const int b2 = person(b, 2);
    b.child(fb, b2);

    const auto s = survey(b.reg, b.options(f0));
    const auto c = layout::layoutChart(s, cell10(false));
    // A's household cannot move back over the start of its level: its only child's
    // household and grandchild move forward under its marriage line (35).
    EXPECT_EQ(c.slot(c.family(fa).slot).y, 0);
    EXPECT_EQ(c.slot(c.family(fa1).slot).y, 30);
    EXPECT_EQ(blockOf(c, a1, fa1).anchorY, 35);
    EXPECT_EQ(leafOf(c, a11).y, 60);
    EXPECT_EQ(leafOf(c, a11).anchorY, 65);
    EXPECT_EQ(c.family(fa1).chartAnchors[0], 65);
    // B's children start after the moved subtree on level 2 (which ends at 120), and
    // B's household moves forward over them: (155 − 125) / 2 + 125 − 35.
    EXPECT_EQ(leafOf(c, b1).y, 120);
    EXPECT_EQ(leafOf(c, b2).y, 150);
    EXPECT_EQ(c.slot(c.family(fb).slot).y, 105);
    // The root household moves forward to centre over A (5) and B (110): 57 − 35.
    EXPECT_EQ(c.family(f0).chartAnchors[1], 5);
    EXPECT_EQ(c.family(f0).chartAnchors[2], 110);
    EXPECT_EQ(c.slot(c.family(f0).slot).y, 22);
    EXPECT_EQ(c.slot(c.family(f0).slot).anchorY, 57);
    EXPECT_EQ(blockOf(c, root, f0).y, 22);
    // Paths: each slot continues the path of the household it hangs under.
    EXPECT_EQ(c.slot(c.family(f0).slot).path, "+ 1/");
    EXPECT_EQ(leafOf(c, a11).path, "+ 1/+" + std::to_string(c.family(fa).slot) + "/+" +
                                       std::to_string(c.family(fa1).slot) + "/+" +
                                       std::to_string(leafOf(c, a11).slot) + "/");
    // Generations at the level pitch: widest block 60 + 3 characters.
    EXPECT_EQ(c.levelPitch, 90);
    EXPECT_EQ(leafOf(c, a11).x, 270);
    EXPECT_EQ(c.width, 270 + 60 + 30);
    EXPECT_EQ(c.height, 195); // level 1 ends with B's household at 105 + 90
}

TEST(Positioning, AHouseholdWithOneChildLinesUpWithIt) {
    RegisterBuilder b;
    const int root = person(b, 1);
    const int f0 = b.family(root, person(b, 2), 1);
    const int only = person(b, 2);
    b.child(f0, only);
    auto c = layout::layoutChart(survey(b.reg, b.options(f0)), cell10(false));
    // The household cannot move back: the child moves under the marriage line.
    EXPECT_EQ(c.slot(c.family(f0).slot).y, 0);
    EXPECT_EQ(leafOf(c, only).y, 30);
    EXPECT_EQ(leafOf(c, only).anchorY, 35);

    // With five children the centre (65) lies beyond the household's marriage line: the
    // household moves forward onto it.
    for (int i = 0; i < 4; ++i) {
        b.child(f0, person(b, 1));
    }
    c = layout::layoutChart(survey(b.reg, b.options(f0)), cell10(false));
    EXPECT_EQ(leafOf(c, only).y, 0);
    EXPECT_EQ(c.slot(c.family(f0).slot).y, 30);
    EXPECT_EQ(c.slot(c.family(f0).slot).anchorY, 65);

    // A single parent's name lies on its only child's anchor.
    RegisterBuilder single;
    const int mother = person(single, 2);
    const int alone = single.family(0, mother, 2);
    const int kid = person(single, 1);
    single.child(alone, kid);
    c = layout::layoutChart(survey(single.reg, single.options(alone)), cell10(false));
    EXPECT_EQ(c.slot(c.family(alone).slot).anchorY, leafOf(c, kid).anchorY);
}

TEST(Positioning, ASingleParentMovedForwardKeepsTheGapAfterIt) {
    RegisterBuilder b;
    const int root = person(b, 1);
    const int f0 = b.family(root, person(b, 2), 1);
    const int a = person(b, 1);
    b.child(f0, a);
    const int b_ = person(b, 1);
    b.child(f0, b_);
    const int fa = b.family(a, 0);
    for (int i = 0; i < 5; ++i) {
        b.child(fa, person(b, 2));
    }
    const int fb = b.family(b_, person(b, 2));
    const auto s = survey(b.reg, b.options(f0));
    ASSERT_EQ(s.family(fa).orderNo, 1);
    const auto c = layout::layoutChart(s, cell10(false));
    // A's household moves onto the centre of its five children (65), its name at 5.
    EXPECT_EQ(c.slot(c.family(fa).slot).y, 60);
    EXPECT_EQ(c.slot(c.family(fa).slot).anchorY, 65);
    // B's household follows after A's block and the two-character gap.
    EXPECT_EQ(c.slot(c.family(fb).slot).y, 90);
    // The root centres over 65 and 95.
    EXPECT_EQ(c.slot(c.family(f0).slot).y, 45);
}

TEST(Positioning, FourMarriagesShowThePersonAgainAndOneSlotSpansThemAll) {
    RegisterBuilder b;
    const int root = person(b, 1);
    const int f0 = b.family(root, person(b, 2), 1);
    const int man = person(b, 1);
    b.child(f0, man, true, 0, "長男");
    std::vector<int> wives, marriages;
    for (int i = 0; i < 4; ++i) {
        wives.push_back(person(b, 2));
        marriages.push_back(b.family(man, wives.back()));
    }
    b.reg.family(marriages[0]).配偶者非表示_F = 1; // hide the first wife
    const auto s = survey(b.reg, b.options(f0));
    ASSERT_EQ(s.person(man).households,
              (std::vector<int>{marriages[3], marriages[1], marriages[0], marriages[2]}));
    const auto c = layout::layoutChart(s, cell10(false));
    // Order 5: wife first, the man shown again without a tag and without a connection.
    EXPECT_EQ(blockOf(c, wives[3], marriages[3]).y, 0);
    EXPECT_EQ(blockOf(c, man, marriages[3]).y, 60);
    EXPECT_EQ(blockOf(c, man, marriages[3]).tag, "");
    EXPECT_FALSE(c.family(marriages[3]).connected);
    EXPECT_EQ(blockOf(c, man, marriages[3]).block.fields[8].text, "　Ｘ");
    // Order 3: the man's own block, the one his parents' line reaches.
    EXPECT_EQ(blockOf(c, man, marriages[1]).y, 150);
    EXPECT_EQ(blockOf(c, man, marriages[1]).tag, "A 3A");
    EXPECT_EQ(blockOf(c, man, marriages[1]).block.fields[8].text, "長男　Ｘ");
    EXPECT_TRUE(c.family(marriages[1]).connected);
    EXPECT_EQ(c.family(f0).chartAnchors[1], 155);
    // Order 2: shared with order 3, and its wife hidden; the pair still takes both gaps.
    EXPECT_TRUE(blockOf(c, man, marriages[0]).block.empty);
    EXPECT_TRUE(blockOf(c, wives[0], marriages[0]).block.empty);
    EXPECT_EQ(c.slot(c.family(marriages[0]).slot).y, 180);
    EXPECT_EQ(c.family(marriages[0]).size, 70);
    // Order 4: shown again.
    EXPECT_EQ(blockOf(c, man, marriages[2]).y, 250);
    EXPECT_EQ(blockOf(c, man, marriages[2]).tag, "");
    EXPECT_FALSE(blockOf(c, man, marriages[2]).block.empty);
    // The multi-household slot spans from the first household to the end of the last.
    const auto& multi = c.slot(s.person(man).multiSlot);
    EXPECT_EQ(multi.kind, layout::SlotKind::MultiHousehold);
    EXPECT_EQ(multi.kindKey, "C 3");
    EXPECT_EQ(multi.y, 0);
    EXPECT_EQ(multi.height, 250 + 90);
    EXPECT_EQ(multi.x, c.levelPitch);
    // The parents centre on the connected block: 155 − 35.
    EXPECT_EQ(c.slot(c.family(f0).slot).y, 120);
}

TEST(Positioning, AOneParentBaseFamilyTakenAsACoupleHasAnEmptyPartner) {
    RegisterBuilder b;
    const int man = person(b, 1);
    b.family(man, 0);
    const int base = b.family(man, 0, 1);
    const auto s = survey(b.reg, b.options(base));
    ASSERT_EQ(s.family(base).orderNo, 2);
    const auto c = layout::layoutChart(s, cell10(false));
    const auto& household = c.slot(c.family(base).slot);
    EXPECT_EQ(household.kind, layout::SlotKind::Couple);
    EXPECT_TRUE(c.slot(s.family(base).slots[2]).block.empty);
}

TEST(Placement, VerticalWritingPutsTheFirstTreeOnTheRight) {
    RegisterBuilder b;
    const int base = b.family(person(b, 1), person(b, 2), 1);
    const int other = b.family(person(b, 1), person(b, 2));
    const auto s = survey(b.reg, b.options(base, true));
    ASSERT_EQ(s.roots.size(), 2u);
    const auto c = layout::layoutChart(s, cell10(true));
    // Vertical: a spouse block is 10 wide; a couple spans 10 + 50 + 10 + 20.
    EXPECT_EQ(c.trees[1].stackOffset, 0);
    EXPECT_EQ(c.trees[0].stackOffset, 90 + 10);
    EXPECT_EQ(c.slot(c.family(base).slot).x, 100);
    EXPECT_EQ(c.slot(c.family(other).slot).x, 0);
    EXPECT_EQ(c.width, 190);
    const auto h = layout::layoutChart(survey(b.reg, b.options(base, false)), cell10(false));
    EXPECT_EQ(h.trees[0].stackOffset, 0);
    EXPECT_EQ(h.trees[1].stackOffset, 100);
}

TEST(Placement, TreesStartAtTheirFounderLevelAndTheLowestGenerationWidens) {
    RegisterBuilder b;
    const int base = b.family(person(b, 1), person(b, 2), 1);
    b.childOf(base, 1);
    const int founder = person(b, 1);
    b.reg.person(founder).創始階層 = 2;
    const int later = b.family(founder, person(b, 2));
    const auto s = survey(b.reg, b.options(base));
    auto c = layout::layoutChart(s, cell10(false));
    EXPECT_EQ(c.slot(c.family(later).slot).x, 2 * c.levelPitch);
    const float plain = c.width;
    EXPECT_EQ(plain, 2 * c.levelPitch + c.widest + 30);
    layout::PlacementOptions wide;
    wide.最下層部を広げる値 = 2;
    wide.headingOffset = 40;
    c = layout::layoutChart(s, cell10(false), wide);
    EXPECT_EQ(c.width, plain + 2 * c.levelPitch);
    EXPECT_EQ(c.slot(c.family(base).slot).y, 40); // the first tree starts at the heading
}

// A register of many families with remarriages, unions, adoptions and linked copies.
core::Registers randomRegisters(unsigned seed, int persons) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    RegisterBuilder b;
    std::vector<int> pool;
    while (b.reg.personCount() < persons) {
        std::vector<int> line = {b.man()};
        for (int g = 0; g < 6 && !line.empty(); ++g) {
            std::vector<int> next;
            for (int p : line) {
                const bool male = b.reg.person(p).男女 == 1;
                const int marriages = 1 + (pick(5) == 0) + (pick(10) == 0);
                for (int m = 0; m < marriages; ++m) {
                    const int spouse = pick(8) == 0 ? 0 : male ? b.woman() : b.man();
                    const int form = pick(8) == 0 ? 1 : 0;
                    const int f =
                        male ? b.family(p, spouse, 0, form) : b.family(spouse, p, 0, form);
                    b.reg.family(f).系統_F =
                        pick(6) == 0 ? core::Lineage::Maternal : core::Lineage::Paternal;
                    const int children = pick(4);
                    for (int k = 0; k < children; ++k) {
                        const int c = b.person(1 + pick(2));
                        b.child(f, c);
                        next.push_back(c);
                        if (pick(12) == 0 && !pool.empty()) {
                            // adopted into another family as well
                            const int other =
                                pool[static_cast<std::size_t>(pick(static_cast<int>(pool.size())))];
                            b.child(other, c, false, 1);
                        }
                    }
                    pool.push_back(f);
                }
            }
            line = std::move(next);
        }
        if (pick(3) == 0) {
            const int source = 1 + pick(b.reg.personCount());
            const int copy = b.person(b.reg.person(source).男女);
            b.reg.person(copy).C_当事者NO = static_cast<std::int16_t>(source);
        }
    }
    return b.reg;
}

// What a slot occupies on its level along the stacking axis (a couple without the gap
// that follows it).
float occupied(const layout::ChartLayout& c, const layout::SlotLayout& sl) {
    const float gap = 2.0f * static_cast<float>(c.vertical ? c.CW : c.CH);
    if (sl.kind == layout::SlotKind::Couple) {
        return c.family(sl.family).span - gap;
    }
    return c.vertical ? sl.width : sl.height;
}

TEST(Positioning, GeneratedRegistersNeverOverlapAndHouseholdsCentreOverTheirChildren) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const core::Registers reg = randomRegisters(seed, 400);
        for (bool vertical : {false, true}) {
            SCOPED_TRACE("seed " + std::to_string(seed) + (vertical ? " vertical" : ""));
            layout::SurveyOptions o;
            o.baseFamily = 1;
            o.縦書き = vertical;
            o.子供の表示を右順にする = true;
            o.最大世代数 = 30;
            const auto outcome = layout::surveyChart(reg, o, {});
            ASSERT_TRUE(outcome.ok()) << outcome.error->text;
            const auto& s = *outcome.result;
            layout::BlockStyle style = cell10(vertical);
            style.shown = {true, false, false, true, true, true, true, true};
            const auto c = layout::layoutChart(s, style);

            // Every taken family is positioned in some tree.
            for (int f = 1; f <= reg.familyCount(); ++f) {
                if (s.family(f).taken()) {
                    ASSERT_NE(c.family(f).slot, 0) << "family " << f;
                }
            }
            // No two blocks or households of one level of one tree overlap.
            std::map<std::pair<int, int>, std::vector<std::pair<float, float>>> levels;
            for (const auto& sl : c.slots) {
                if (sl.kind == layout::SlotKind::SingleParent ||
                    sl.kind == layout::SlotKind::Couple || sl.kind == layout::SlotKind::Leaf) {
                    const float start = vertical ? sl.x : sl.y;
                    levels[{sl.tree, sl.level}].push_back({start, start + occupied(c, sl)});
                }
            }
            for (auto& [key, spans] : levels) {
                std::sort(spans.begin(), spans.end());
                for (std::size_t i = 1; i < spans.size(); ++i) {
                    ASSERT_GE(spans[i].first, spans[i - 1].second)
                        << "tree " << key.first << " level " << key.second;
                }
            }
            // A household with children has its line on their centre, and a connected
            // household's head is where its parents' line ends.
            for (int f = 1; f <= reg.familyCount(); ++f) {
                const auto& fl = c.family(f);
                if (fl.slot == 0) {
                    continue;
                }
                const auto& household = c.slot(fl.slot);
                const float at = vertical ? household.x : household.y;
                if (s.run.family(f).子数() > 0) {
                    EXPECT_EQ(at + fl.linePoint, fl.chartAnchors[0]) << "family " << f;
                }
                if (fl.connected) {
                    const auto& parent = c.family(household.parentFamily);
                    EXPECT_EQ(parent.chartAnchors[static_cast<std::size_t>(household.childIndex)],
                              at + fl.connectionOffset);
                }
            }
            // The run's registers turn back into the caller's.
            core::Registers restored = s.run;
            layout::restoreRun(restored, s.changes);
            restored.family(1).系統_F = reg.family(1).系統_F;
            EXPECT_EQ(restored, reg);
        }
    }
}

} // namespace
