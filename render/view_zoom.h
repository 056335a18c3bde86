// The zoom of the chart window: the steps of "拡大" and "縮小", Ctrl + mouse wheel, the zoom
// that fits the whole chart or its width into the window, and the zoom as the tool bar
// shows it. A zoom of 1 is the chart's own pixels (100%).
#pragma once

#include "render/drawing.h"

#include <string>
#include <vector>

namespace render {

inline constexpr double kLargestZoom = 8.0;
inline constexpr double kSmallestZoom = 0.0005;

// The zoom within kSmallestZoom..kLargestZoom.
double clampedZoom(double zoom);

// "拡大": the next step above `zoom` (10%, 25%, 33%, 50%, 67%, 75%, 100%, 125%, 150%, 200%,
// 300%, 400%, 600%, 800%), the largest zoom beyond them. "縮小": the next step below, half
// the zoom below them.
double zoomedIn(double zoom);
double zoomedOut(double zoom);

// Ctrl + mouse wheel: 1.25 times per notch (an angle of 120) up or down.
double wheelZoom(double zoom, int angleDelta);

// "全体表示": the whole chart in the client area of the window, never above 100%.
double wholeChartZoom(int clientWidth, int clientHeight, int chartWidth, int chartHeight);
// "幅に合わせる": the chart's width in the client area, beside the vertical scroll bar when
// the chart is then taller than the area.
double chartWidthZoom(int clientWidth, int clientHeight, int chartWidth, int chartHeight);

// Where the window opens on a chart: the offset (the chart pixel at the view's top left) that
// shows, with a little room, the block a reader begins with: of a vertical chart the block
// nearest its top right corner, of a horizontal one the block nearest its top left (a
// chart's corner itself may be blank). `viewWidth` × `viewHeight` chart pixels are shown;
// the offset is kept within the chart. Without blocks: the corner.
struct ViewOffset {
    int x = 0;
    int y = 0;
    bool operator==(const ViewOffset&) const = default;
};
ViewOffset openingOffset(const std::vector<DrawnPerson>& persons, int chartWidth, int chartHeight,
                         bool vertical, int viewWidth, int viewHeight);

// "100%", "46%", "6.3%": whole percents from 10% on.
std::string zoomText(double zoom);

} // namespace render
