#include "layout/chart_layout.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace layout {

namespace {

std::string basicStr(int n) {
    return n < 0 ? std::to_string(n) : " " + std::to_string(n);
}

// The positioning pass over the trees of one chart, with its working state.
class Positioner {
public:
    Positioner(const SurveyResult& survey, const BlockStyle& style, ChartLayout& out,
               int applicant = 0)
        : s_(survey), style_(style), out_(out),
          measurer_(style, survey.run, survey.centre, applicant), vertical_(style.vertical),
          char_(static_cast<float>(style.vertical ? style.CW : style.CH)),
          orderIndex_(static_cast<std::size_t>(survey.slotCount) + 1, 0),
          hangsUnder_(static_cast<std::size_t>(survey.run.familyCount()), {0, 0}) {}

    // The positioning pass for one tree; returns its level table.
    std::vector<LevelState> positionTree(int tree, int root);
    const BlockMaxima& maxima() const { return measurer_.maxima(); }

private:
    // The descent stack: per level, the person whose households are being positioned
    // and the family it hangs under (家族・子順抽出_SUB).
    struct Frame {
        int person;
        int level;
        std::size_t household; // index into the person's household list
        int nextChild;         // 1-based
        int parentFamily;
        int parentChild;
    };

    SlotLayout& slot(int n) { return out_.slots[static_cast<std::size_t>(n - 1)]; }
    FamilyLayout& fam(int f) { return out_.families[static_cast<std::size_t>(f - 1)]; }
    LevelState& level(int L) {
        if (static_cast<std::size_t>(L) >= levels_.size()) {
            levels_.resize(static_cast<std::size_t>(L) + 1);
            lastPath_.resize(static_cast<std::size_t>(L) + 1);
        }
        return levels_[static_cast<std::size_t>(L)];
    }
    std::string& lastPath(int L) {
        level(L);
        return lastPath_[static_cast<std::size_t>(L)];
    }
    float stackSize(const NameBlock& b) const {
        return static_cast<float>(vertical_ ? b.width : b.height);
    }
    float crossSize(const NameBlock& b) const {
        return static_cast<float>(vertical_ ? b.height : b.width);
    }
    float anchorAlong(const NameBlock& b) const {
        return static_cast<float>(vertical_ ? b.anchorX : b.anchorY);
    }
    void place(LevelState& l, const NameBlock& b) {
        l.running += stackSize(b);
        l.extent = std::max(l.extent, crossSize(b));
    }
    std::string pathFor(int L, int n) {
        return L == 0 ? "+" + basicStr(n) + "/" : lastPath(L - 1) + "+" + std::to_string(n) + "/";
    }
    void record(SlotLayout& sl, int L) {
        sl.level = L;
        sl.tree = tree_;
        sl.path = pathFor(L, sl.slot);
        lastPath(L) = sl.path;
        orderIndex_[static_cast<std::size_t>(sl.slot)] = order_.size();
        order_.push_back(sl.slot);
    }
    int sourceOf(int f, int person) const {
        const core::家族& family = s_.run.family(f);
        return family.夫NO == person ? s_.sourceHusband(f) : s_.sourceWife(f);
    }
    // The tag of a person's own block hanging under `parentFamily` at `k` (0: none).
    std::string ownTag(int person, int parentFamily, int k) const {
        std::string letter = "A";
        if (parentFamily != 0 &&
            s_.run.family(parentFamily).child(k).子の形態 == core::ChildKind::Adopted) {
            letter = s_.run.person(person).子孫_F == parentFamily ? "B" : "C";
        }
        return letter + basicStr(person) + letter;
    }
    // A household entered through `person` at level L, hanging under child k of
    // `parentFamily`: its blocks placed in turn along the level, then its extent recorded.
    struct Entry {
        int f = 0;
        int person = 0;
        int L = 0;
        float start = 0;      // where the household begins along the level
        bool carries = false; // the person's block carries its parents' connection
        int pf = 0;           // the parent family and child index it carries (0: none)
        int pk = 0;
        int personSlot = 0;  // the slot of the person's own block
        float personRel = 0; // where that block begins, from `start`
    };
    void householdEntry(int f, int person, int L, int parentFamily, int k);
    void placeSingleParent(const Entry& e, SlotLayout& head);
    void placeCouple(Entry& e, SlotLayout& head);
    // Whether the person's block in this household stays empty, shown in another of its
    // households instead.
    bool sharesBlock(int f, int person, int order) const;
    void placeSpouse(Entry& e, int who, bool isHusband, bool shared);
    void closeHouseholdEntry(const Entry& e, SlotLayout& head);
    void leaf(int f, int k, int L);
    void closeChildren(int f, int L);
    void householdExit(int f, int L);
    void multiHousehold(int person, int L);
    void shiftSubtree(int slotNumber, int L, float d);

    const SurveyResult& s_;
    const BlockStyle& style_;
    ChartLayout& out_;
    BlockMeasurer measurer_;
    bool vertical_;
    float char_; // one character along the stacking axis
    int tree_ = 0;
    std::vector<LevelState> levels_;
    std::vector<std::string> lastPath_;
    std::vector<int> order_; // slots with a path in this tree, in the order recorded
    // Per slot number, its place in order_ (valid for the slots of the current tree).
    std::vector<std::size_t> orderIndex_;
    // Per household being positioned: the family its head hangs under and the index.
    std::vector<std::pair<int, int>> hangsUnder_;
};

void Positioner::householdEntry(int f, int person, int L, int parentFamily, int k) {
    const FamilySurvey& fs = s_.family(f);
    LevelState& l = level(L);
    l.householdStart = l.running;
    Entry e;
    e.f = f;
    e.person = person;
    e.L = L;
    e.start = l.running;
    e.carries = L > 0 && parentFamily != 0 && fs.orderNo < 4;
    e.pf = e.carries ? parentFamily : 0;
    e.pk = e.carries ? k : 0;
    e.personSlot = fs.slots[0];
    FamilyLayout& fl = fam(f);
    fl.slot = fs.slots[0];
    fl.tree = tree_;
    fl.childAnchors.assign(static_cast<std::size_t>(s_.run.family(f).子数()) + 1, 0.0f);
    hangsUnder_[static_cast<std::size_t>(f - 1)] = {parentFamily, k};

    SlotLayout& head = slot(fs.slots[0]);
    head.family = f;
    if (fs.orderNo == 1) {
        placeSingleParent(e, head);
    } else {
        placeCouple(e, head);
    }
    closeHouseholdEntry(e, head);
}

void Positioner::placeSingleParent(const Entry& e, SlotLayout& head) {
    head.kind = SlotKind::SingleParent;
    head.person = e.person;
    head.source = sourceOf(e.f, e.person);
    head.kindKey = "A" + basicStr(e.person);
    head.block = measurer_.head(e.person, head.source, e.pf, e.pk, BlockBlanking::None);
    head.tag = ownTag(e.person, e.pf, e.pk);
    place(level(e.L), head.block);
    fam(e.f).linePoint = anchorAlong(head.block);
}

bool Positioner::sharesBlock(int f, int person, int order) const {
    const std::vector<int>& households = s_.person(person).households;
    const bool hasSingle = std::any_of(households.begin(), households.end(),
                                       [&](int h) { return s_.family(h).orderNo == 1; });
    const bool unlinked = sourceOf(f, person) == person || style_.当事者リンク元に統一;
    if (households.size() <= 1 || order >= 4 || !unlinked) {
        return false;
    }
    return vertical_ ? order == 3 || (order == 2 && hasSingle)
                     : order == 2 || (order == 3 && hasSingle);
}

void Positioner::placeCouple(Entry& e, SlotLayout& head) {
    const int order = s_.family(e.f).orderNo;
    const core::家族& family = s_.run.family(e.f);
    head.kind = SlotKind::Couple;
    head.kindKey = "B" + basicStr(e.f);
    head.source = sourceOf(e.f, e.person);
    const bool shared = sharesBlock(e.f, e.person, order);
    const bool female = s_.run.person(e.person).isFemale();
    const bool even = order % 2 == 0;
    const bool husbandFirst = vertical_ ? even == female : even != female;
    for (const bool isHusband : {husbandFirst, !husbandFirst}) {
        placeSpouse(e, isHusband ? family.夫NO : family.妻NO, isHusband, shared);
        if (isHusband == husbandFirst) {
            // The marriage gap.
            LevelState& l = level(e.L);
            FamilyLayout& fl = fam(e.f);
            const float centre = l.running + 2.5f * char_;
            fl.childAnchors[0] = centre;
            fl.linePoint = centre - e.start;
            l.running += 5 * char_;
        }
    }
}

void Positioner::placeSpouse(Entry& e, int who, bool isHusband, bool shared) {
    const FamilySurvey& fs = s_.family(e.f);
    const int hide = s_.run.family(e.f).配偶者非表示_F;
    LevelState& l = level(e.L);
    SlotLayout& sl = slot(isHusband ? fs.slots[1] : fs.slots[2]);
    sl.kind = SlotKind::Spouse;
    sl.family = e.f;
    sl.householdSlot = fs.slots[0];
    sl.person = who;
    sl.source = isHusband ? s_.sourceHusband(e.f) : s_.sourceWife(e.f);
    sl.kindKey = "A" + basicStr(who);
    sl.level = e.L;
    sl.tree = tree_;
    if (who == 0) {
        // A household taken as a couple with one partner missing (a one-parent base family):
        // the missing partner's block is empty.
        sl.block = NameBlock{};
        sl.block.empty = true;
    } else if (who == e.person) {
        const BlockBlanking blanking = shared                     ? BlockBlanking::Empty
                                       : hide == 10 || hide == 11 ? BlockBlanking::HiddenHead
                                                                  : BlockBlanking::None;
        sl.block = measurer_.head(e.person, sl.source, e.pf, e.pk, blanking);
        if (!sl.block.empty && fs.orderNo < 4) {
            sl.tag = ownTag(e.person, e.pf, e.pk);
        }
        e.personSlot = sl.slot;
        e.personRel = l.running - e.start;
    } else {
        const BlockBlanking blanking =
            hide == 1 || hide == 11 ? BlockBlanking::Empty : BlockBlanking::None;
        sl.block = measurer_.spouse(who, sl.source, e.f, blanking);
        if (!sl.block.empty) {
            sl.tag = "C" + basicStr(who) + "C";
        }
    }
    sl.stack = l.running - e.start;
    place(l, sl.block);
}

void Positioner::closeHouseholdEntry(const Entry& e, SlotLayout& head) {
    const bool single = s_.family(e.f).orderNo == 1;
    LevelState& l = level(e.L);
    FamilyLayout& fl = fam(e.f);
    const SlotLayout& ps = slot(e.personSlot);
    const bool connected = e.carries && !ps.block.empty;
    if (connected) {
        // The person's own block sets where its parents' line attaches.
        fam(e.pf).childAnchors[static_cast<std::size_t>(e.pk)] =
            e.personRel + anchorAlong(ps.block);
        slot(e.personSlot).parentFamily = e.pf;
        slot(e.personSlot).childIndex = e.pk;
    }
    record(head, e.L);
    head.stack = e.start;
    l.running += 2 * char_;
    fl.span = l.running - e.start;
    fl.size = single ? stackSize(head.block) : fl.span;
    head.stackSize = fl.size;
    if (single) {
        fl.childAnchors[0] = e.start + fl.linePoint;
    }
    if (connected) {
        head.parentFamily = e.pf;
        head.childIndex = e.pk;
        fam(e.pf).childAnchors[static_cast<std::size_t>(e.pk)] += e.start;
        fl.connected = true;
        fl.connectionOffset = e.personRel + anchorAlong(ps.block);
    }
}

void Positioner::leaf(int f, int k, int L) {
    const core::家族& family = s_.run.family(f);
    const int child = family.child(k).子NO;
    SlotLayout& sl = slot(s_.family(f).childSlots[static_cast<std::size_t>(k - 1)]);
    sl.kind = SlotKind::Leaf;
    sl.person = child;
    sl.source = s_.sourceChild(f, k);
    sl.kindKey = "A" + basicStr(child);
    sl.parentFamily = f;
    sl.childIndex = k;
    record(sl, L);
    sl.block = measurer_.head(child, sl.source, f, k, BlockBlanking::None);
    sl.tag = ownTag(child, f, k);
    LevelState& l = level(L);
    fam(f).childAnchors[static_cast<std::size_t>(k)] = l.running + anchorAlong(sl.block);
    sl.stack = l.running;
    place(l, sl.block);
    l.running += 2 * char_;
}

void Positioner::closeChildren(int f, int L) {
    LevelState& l = level(L);
    const float span = l.running - l.mark;
    l.midpoint = static_cast<float>(roundedDiv(span, 2)) + l.mark;
    std::vector<float>& anchors = fam(f).childAnchors;
    const float first = anchors[1];
    const float last = anchors.back();
    anchors[0] = static_cast<float>(roundedDiv(last - first, 2)) + first;
}

void Positioner::householdExit(int f, int L) {
    FamilyLayout& fl = fam(f);
    SlotLayout& head = slot(fl.slot);
    const float previous = head.stack;
    const float wanted = fl.childAnchors[0] - fl.linePoint;
    head.stack = wanted;
    if (previous > wanted) {
        // Centring would pull the household back over what its level already holds: the
        // children's subtree moves forward instead.
        shiftSubtree(fl.slot, L, previous - wanted);
    }
    LevelState& l = level(L);
    l.running = std::max(l.running, head.stack + fl.span);
    l.mark = l.running;
    if (fl.connected) {
        const auto [pf, pk] = hangsUnder_[static_cast<std::size_t>(f - 1)];
        fam(pf).childAnchors[static_cast<std::size_t>(pk)] = head.stack + fl.connectionOffset;
    }
}

void Positioner::shiftSubtree(int slotNumber, int L, float d) {
    // The slots recorded since the household's own form its subtree: every one of them
    // has a path that begins with the household's path.
    for (LevelState& l : levels_) {
        l.shiftedOnce = false;
    }
    for (std::size_t i = orderIndex_[static_cast<std::size_t>(slotNumber)]; i < order_.size();
         ++i) {
        SlotLayout& sl = slot(order_[i]);
        sl.stack += d;
        if (sl.kind == SlotKind::SingleParent || sl.kind == SlotKind::Couple) {
            for (float& a : fam(sl.family).childAnchors) {
                a += d;
            }
        }
        if (sl.level != L) {
            LevelState& l = level(sl.level);
            if (!l.shiftedOnce) {
                l.shiftedOnce = true;
                l.running += d;
                l.midpoint += d;
                l.mark += d;
                l.householdStart = l.running;
            }
        }
    }
}

void Positioner::multiHousehold(int person, int L) {
    const PersonSurvey& ps = s_.person(person);
    SlotLayout& sl = slot(ps.multiSlot);
    sl.kind = SlotKind::MultiHousehold;
    sl.person = person;
    sl.source = person;
    sl.kindKey = "C" + basicStr(person);
    record(sl, L);
    const FamilyLayout& first = fam(ps.households.front());
    const FamilyLayout& last = fam(ps.households.back());
    sl.stack = slot(first.slot).stack;
    sl.stackSize = slot(last.slot).stack + last.size - sl.stack;
    if (vertical_ && s_.family(ps.households.back()).orderNo == 1) {
        sl.stackSize += static_cast<float>(style_.CW);
    }
    level(L).running += 2 * char_;
}

std::vector<LevelState> Positioner::positionTree(int tree, int root) {
    tree_ = tree;
    levels_.assign(1, LevelState{});
    lastPath_.assign(1, std::string());
    order_.clear();
    if (s_.person(root).households.empty()) {
        return std::move(levels_);
    }
    std::vector<Frame> stack = {{root, 0, 0, 1, 0, 0}};
    householdEntry(s_.person(root).households[0], root, 0, 0, 0);
    while (!stack.empty()) {
        Frame& fr = stack.back();
        const std::vector<int>& households = s_.person(fr.person).households;
        const int f = households[fr.household];
        const core::家族& family = s_.run.family(f);
        if (fr.nextChild <= family.子数()) {
            const int k = fr.nextChild++;
            if (s_.family(f).childSlots[static_cast<std::size_t>(k - 1)] != 0) {
                leaf(f, k, fr.level + 1);
                continue;
            }
            const int child = family.child(k).子NO;
            const std::vector<int>& childHouseholds = s_.person(child).households;
            if (childHouseholds.empty()) {
                continue; // the survey gave it neither a slot nor households
            }
            const int level = fr.level + 1;
            stack.push_back({child, level, 0, 1, f, k});
            householdEntry(childHouseholds[0], child, level, f, k);
            continue;
        }
        if (family.子数() > 0) {
            closeChildren(f, fr.level + 1);
            householdExit(f, fr.level);
        }
        if (++fr.household < households.size()) {
            fr.nextChild = 1;
            householdEntry(households[fr.household], fr.person, fr.level, fr.parentFamily,
                           fr.parentChild);
            continue;
        }
        if (households.size() >= 2) {
            multiHousehold(fr.person, fr.level);
        }
        stack.pop_back();
    }
    return std::move(levels_);
}

// The trees one after another along the stacking axis (vertical writing from the last
// root to the first, so that the first tree ends up on the right) and the generations at the
// level pitch. Returns where the last tree ends along the stacking axis.
float placeTrees(ChartLayout& out, float stackChar, float levelChar, float headingOffset) {
    float offset = headingOffset;
    float stackEnd = headingOffset;
    const std::size_t n = out.trees.size();
    for (std::size_t i = 0; i < n; ++i) {
        TreeLayout& tree = out.trees[out.vertical ? n - 1 - i : i];
        tree.stackOffset = offset;
        stackEnd = offset + tree.extent;
        offset = stackEnd + stackChar;
    }
    out.levelPitch = out.widest + 3 * levelChar;
    for (TreeLayout& tree : out.trees) {
        tree.levelOffset = out.levelPitch * static_cast<float>(tree.startLevel);
    }
    return stackEnd;
}

// The slots with a path (every kind but the spouse blocks) on the chart. Returns the
// furthest level position of one, nullopt when there is none.
std::optional<float> placeSlotsWithPath(ChartLayout& out) {
    const bool vertical = out.vertical;
    std::optional<float> furthest;
    for (SlotLayout& sl : out.slots) {
        if (!sl.used() || sl.kind == SlotKind::Spouse) {
            continue;
        }
        const TreeLayout& tree = out.trees[static_cast<std::size_t>(sl.tree - 1)];
        const float along = out.levelPitch * static_cast<float>(sl.level) + tree.levelOffset;
        const float across = tree.stackOffset + sl.stack;
        float stackSize = sl.stackSize;
        float levelSize = 0;
        if (sl.kind == SlotKind::SingleParent || sl.kind == SlotKind::Leaf) {
            stackSize = static_cast<float>(vertical ? sl.block.width : sl.block.height);
            levelSize = static_cast<float>(vertical ? sl.block.height : sl.block.width);
        }
        if (levelSize == 0) {
            levelSize = out.widest;
        }
        float anchorAcross = 0;
        float anchorAlong = 0;
        if (sl.kind == SlotKind::Couple) {
            anchorAcross = out.families[static_cast<std::size_t>(sl.family - 1)].linePoint;
        } else if (sl.kind != SlotKind::MultiHousehold) {
            anchorAcross = static_cast<float>(vertical ? sl.block.anchorX : sl.block.anchorY);
            anchorAlong = static_cast<float>(vertical ? sl.block.anchorY : sl.block.anchorX);
        }
        sl.x = vertical ? across : along;
        sl.y = vertical ? along : across;
        sl.width = vertical ? stackSize : levelSize;
        sl.height = vertical ? levelSize : stackSize;
        sl.anchorX = sl.x + (vertical ? anchorAcross : anchorAlong);
        sl.anchorY = sl.y + (vertical ? anchorAlong : anchorAcross);
        furthest = std::max(furthest.value_or(0.0f), along);
    }
    return furthest;
}

// The spouse blocks, at their place in their household.
void placeSpouseSlots(ChartLayout& out) {
    const bool vertical = out.vertical;
    for (SlotLayout& sl : out.slots) {
        if (sl.kind != SlotKind::Spouse) {
            continue;
        }
        const SlotLayout& household = out.slots[static_cast<std::size_t>(sl.householdSlot - 1)];
        const float along = vertical ? household.y : household.x;
        const float across = (vertical ? household.x : household.y) + sl.stack;
        sl.x = vertical ? across : along;
        sl.y = vertical ? along : across;
        sl.width = static_cast<float>(sl.block.width);
        sl.height = static_cast<float>(sl.block.height);
        sl.anchorX = sl.x + static_cast<float>(sl.block.anchorX);
        sl.anchorY = sl.y + static_cast<float>(sl.block.anchorY);
    }
}

// The anchors of each family's lines, moved from its tree onto the chart.
void placeFamilyAnchors(ChartLayout& out) {
    for (FamilyLayout& fl : out.families) {
        if (fl.slot == 0) {
            continue;
        }
        const float offset = out.trees[static_cast<std::size_t>(fl.tree - 1)].stackOffset;
        fl.chartAnchors.clear();
        for (float a : fl.childAnchors) {
            fl.chartAnchors.push_back(a + offset);
        }
    }
}

// Places the trees, their blocks and lines on the chart, and computes the chart extent.
void place(ChartLayout& out, const BlockStyle& style, const PlacementOptions& placement) {
    const float stackChar = static_cast<float>(style.vertical ? style.CW : style.CH);
    const float levelChar = static_cast<float>(style.vertical ? style.CH : style.CW);
    const float stackExtent = placeTrees(out, stackChar, levelChar, placement.headingOffset);
    const std::optional<float> furthest = placeSlotsWithPath(out);
    placeSpouseSlots(out);
    placeFamilyAnchors(out);
    const float levelExtent = furthest.value_or(0.0f) + out.widest + 3 * levelChar +
                              out.levelPitch * static_cast<float>(placement.最下層部を広げる値);
    out.width = style.vertical ? stackExtent : levelExtent;
    out.height = style.vertical ? levelExtent : stackExtent;
}

} // namespace

int roundedDiv(float a, float b) {
    const long x = std::lround(a);
    const long y = std::lround(b);
    return y == 0 ? 0 : static_cast<int>(x / y);
}

ChartLayout layoutChart(const SurveyResult& survey, const BlockStyle& style,
                        const PlacementOptions& placement) {
    ChartLayout out;
    out.vertical = style.vertical;
    out.CW = style.CW;
    out.CH = style.CH;
    out.slots.resize(static_cast<std::size_t>(survey.slotCount));
    for (int n = 1; n <= survey.slotCount; ++n) {
        out.slots[static_cast<std::size_t>(n - 1)].slot = n;
    }
    out.families.resize(static_cast<std::size_t>(survey.run.familyCount()));

    Positioner positioner(survey, style, out, placement.applicant);
    for (std::size_t t = 0; t < survey.roots.size(); ++t) {
        TreeLayout tree;
        tree.root = survey.roots[t];
        tree.levels = positioner.positionTree(static_cast<int>(t) + 1, tree.root);
        for (const LevelState& l : tree.levels) {
            tree.extent = std::max(tree.extent, l.running);
            out.widest = std::max(out.widest, l.extent);
        }
        const std::vector<int>& households = survey.person(tree.root).households;
        tree.startLevel = households.empty() ? 0 : survey.family(households.front()).階層;
        out.trees.push_back(std::move(tree));
    }
    place(out, style, placement);
    out.maxima = positioner.maxima();
    return out;
}

} // namespace layout
