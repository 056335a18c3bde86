// The geometry of the chart window: where the picture area, the scroll bars and the corner
// button go for a window and chart size, the scroll ranges (scaled for very large
// charts), scrolling, drag-to-pan and the corner button. Pure state and arithmetic; the
// chart window applies the results to its widgets and copies sourceRect() of the chart
// into the picture area.
#pragma once

#include <string>

namespace render {

inline constexpr int kScrollBarThickness = 16;
// An overflow above this many pixels is spread over kScaledScrollMaximum scroll units.
inline constexpr int kLargestUnscaledOverflow = 32787;
inline constexpr int kScaledScrollMaximum = 10000;

struct ViewRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ViewRect&) const = default;
};

struct ScrollRange {
    int maximum = 0;
    double scale = 1.0; // chart pixels per scroll unit
};

// SCROLL_XD_SUB / SCROLL_YD_SUB: the range of a scroll bar for a chart extent and the
// visible extent along the same axis.
ScrollRange SCROLL_XD_SUB(int chartExtent, int viewExtent);
inline ScrollRange SCROLL_YD_SUB(int chartExtent, int viewExtent) {
    return SCROLL_XD_SUB(chartExtent, viewExtent);
}

// maximum / 10 when the maximum exceeds 10, else 1.
int scrollPageStep(int maximum);

struct ScrollBarState {
    bool shown = false;
    ViewRect rect;
    int maximum = 0;
    int pageStep = 1;
    int position = 0;
    double scale = 1.0;
};

enum class CornerState { TopLeft, BottomRight };

class ChartView {
public:
    // WIN_SAIZU_SUB for the client area of the window and the chart size. Returns false,
    // changing nothing, when neither changed since the last layout.
    bool WIN_SAIZU_SUB(int clientWidth, int clientHeight, int chartWidth, int chartHeight);
    // A new drawing: the next layout happens whatever the sizes, from scroll position 0.
    void newDrawing();

    const ViewRect& picture() const { return picture_; }
    const ScrollBarState& horizontalBar() const { return h_; }
    const ScrollBarState& verticalBar() const { return v_; }
    bool cornerButtonShown() const { return cornerShown_; }
    const ViewRect& cornerButton() const { return corner_; }
    CornerState cornerState() const { return cornerState_; }
    // "┛" (press to go to the bottom right) or "┏" (press to go back to the top left).
    std::string cornerCaption() const;

    // A scroll bar moved to `position` (clamped to its range).
    void setHorizontalPosition(int position);
    void setVerticalPosition(int position);

    // The rectangle of the chart shown in the picture area: the source offset and the
    // picture size.
    ViewRect sourceRect() const;

    // Drag-to-pan with the left button.
    void mouseDown(int x, int y);
    // A move with the left button held moves the view against the mouse along each axis
    // that has a bar, stopping at the chart's edges. Returns true when the view moved.
    bool mouseMove(int x, int y, bool leftButtonHeld);

    // Jumps to the bottom right corner, or back to the top left.
    void pressCornerButton();

    // Shows the chart from the offset (x, y), kept within the chart along each axis that
    // has a bar (0 along the others); the bars follow to the nearest unit.
    void scrollTo(double x, double y);

private:
    void syncOffsetFromPositions();

    bool laidOut_ = false;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int chartWidth_ = 0;
    int chartHeight_ = 0;
    ViewRect picture_;
    ScrollBarState h_;
    ScrollBarState v_;
    bool cornerShown_ = false;
    ViewRect corner_;
    CornerState cornerState_ = CornerState::TopLeft;
    double offsetX_ = 0;
    double offsetY_ = 0;
    int lastX_ = 0;
    int lastY_ = 0;
};

} // namespace render
