// Coordinate assignment: turns the survey (chart_survey.h) into chart positions.
//
// The pipeline of a chart run:
//   1. surveyChart        levels, household orders, roots and slot numbers
//   2. layoutChart        per tree, the positioning pass measures every block
//                         (name_block.h) and stacks the blocks of each generation; then
//                         the trees and the generations are placed and the extent computed
//   3. render/            draws blocks and lines at these positions
//
// Axes: with horizontal writing generations run left to right (level axis x, stacking
// axis y); with vertical writing top to bottom (level axis y, stacking axis x). The
// positioning pass is a tidy-tree layout: along each level blocks follow one another; a
// household is centred over its children's anchors, and when that would pull it back over
// blocks already placed the children's whole subtree moves forward instead.
//
// Positions are pixels of the chart canvas held as single-precision numbers (a marriage
// gap is 2.5 characters from its start); the drawing rounds them. The margin of one cell
// that the drawing keeps around the trees is not included.
#pragma once

#include "layout/chart_survey.h"
#include "layout/name_block.h"

#include <string>
#include <vector>

namespace layout {

enum class SlotKind {
    Unused,
    SingleParent,   // household of one parent: the parent's block is the household
    Couple,         // household of a couple: holds the pair, its blocks are Spouse slots
    Spouse,         // one block of a couple, positioned relative to its household
    Leaf,           // a child drawn under a family and not continued there
    MultiHousehold, // spans all households of a person with two or more
};

struct SlotLayout {
    int slot = 0;
    SlotKind kind = SlotKind::Unused;
    std::string kindKey;   // "A 5" (person), "B 3" (family), "C 5" (person)
    std::string tag;       // "A 5A", "B 5B", "C 5C"; empty for a block that carries none
    int person = 0;        // the person shown (links resolved); 0 for a couple's slot
    int source = 0;        // the person as registered (the data shown, unless unified)
    int family = 0;        // the household of SingleParent, Couple and Spouse slots
    int householdSlot = 0; // Spouse: the Couple slot it belongs to
    int level = 0;         // level within the tree (0 = the root's generation)
    int tree = 0;          // 1-based index into the root list
    std::string path;      // place in the tree; empty for Spouse slots
    int parentFamily = 0;  // the family the slot hangs under, and its child index there
    int childIndex = 0;
    NameBlock block; // measured block (SingleParent, Spouse, Leaf)
    // Within the tree, along the stacking axis: Spouse slots relative to their household.
    float stack = 0;
    float stackSize = 0; // Couple and MultiHousehold: the span along the stacking axis
    // Chart placement (absolute pixels): top-left, size and the name anchor. A Couple's
    // anchor is its marriage-line point.
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
    float anchorX = 0;
    float anchorY = 0;

    bool used() const { return kind != SlotKind::Unused; }
};

// One household's positioning data.
struct FamilyLayout {
    int slot = 0; // the household's slot (column 0), 0 when not drawn
    int tree = 0;
    // Child anchors along the stacking axis, tree coordinates: [0] the household's centre
    // over its children, [k] where the line to child k attaches.
    std::vector<float> childAnchors;
    std::vector<float> chartAnchors; // the same in chart pixels (stacking axis)
    float linePoint = 0;    // marriage line (or single parent's name) from the household start
    float size = 0;         // size along the stacking axis (a couple's includes its gaps)
    float span = 0;         // what the household occupies on its level, gap after it included
    bool connected = false; // joined to the family its head hangs under
    float connectionOffset = 0;
};

// Per level of one tree's positioning pass.
struct LevelState {
    float running = 0;        // how far the level is filled along the stacking axis
    float extent = 0;         // largest block size across the stacking axis
    float householdStart = 0; // running offset when the current household began
    float mark = 0;           // running offset after the last finished household
    float midpoint = 0;       // children midpoint
    bool shiftedOnce = false;
};

struct TreeLayout {
    int root = 0;
    float stackOffset = 0; // along the stacking axis
    float levelOffset = 0; // along the level axis: level pitch × the root's 階層
    float extent = 0;      // along the stacking axis
    int startLevel = 0;    // 階層 of the root's first household
    std::vector<LevelState> levels;
};

struct PlacementOptions {
    // Where the first tree placed starts along the stacking axis: the space the legal
    // chart headings take (the top in horizontal writing; in vertical writing the first
    // tree placed is the last root's, on the left).
    float headingOffset = 0;
    int 最下層部を広げる値 = 0; // extra level pitches beyond the deepest generation
    // The statutory list chart's applicant when that person is an heir (its name is
    // followed by "　　（申出人）"); 0 for none.
    int applicant = 0;
};

struct ChartLayout {
    bool vertical = true;
    int CW = 0;
    int CH = 0;
    std::vector<SlotLayout> slots;      // index slot − 1
    std::vector<FamilyLayout> families; // index family − 1
    std::vector<TreeLayout> trees;      // in root-list order
    float widest = 0;                   // largest block size along the level axis over all trees
    float levelPitch = 0;               // widest + 3 characters
    float width = 0;                    // chart extent
    float height = 0;
    BlockMaxima maxima; // largest block width and height measured

    const SlotLayout& slot(int n) const { return slots.at(static_cast<std::size_t>(n - 1)); }
    const FamilyLayout& family(int n) const { return families.at(static_cast<std::size_t>(n - 1)); }
};

// Positions every tree of `survey` and places the trees and generations.
ChartLayout layoutChart(const SurveyResult& survey, const BlockStyle& style,
                        const PlacementOptions& placement = {});

// Integer division as the chart computes it: both operands rounded half away from zero,
// the quotient truncated.
int roundedDiv(float a, float b);

} // namespace layout
