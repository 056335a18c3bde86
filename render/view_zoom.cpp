#include "render/view_zoom.h"

#include "render/view_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace render {

namespace {

// The steps of "拡大" and "縮小"; "全体表示" and "幅に合わせる" may go between them.
constexpr std::array<double, 14> kZoomSteps = {0.1,  0.25, 0.33, 0.5, 0.67, 0.75, 1.0,
                                               1.25, 1.5,  2.0,  3.0, 4.0,  6.0,  8.0};

} // namespace

double clampedZoom(double zoom) {
    return std::clamp(zoom, kSmallestZoom, kLargestZoom);
}

double zoomedIn(double zoom) {
    for (double step : kZoomSteps) {
        if (step > zoom * 1.001) {
            return step;
        }
    }
    return kLargestZoom;
}

double zoomedOut(double zoom) {
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it) {
        if (*it < zoom * 0.999) {
            return *it;
        }
    }
    return zoom / 2;
}

double wheelZoom(double zoom, int angleDelta) {
    return zoom * std::pow(1.25, angleDelta / 120.0);
}

double wholeChartZoom(int clientWidth, int clientHeight, int chartWidth, int chartHeight) {
    const double zx = static_cast<double>(clientWidth) / chartWidth;
    const double zy = static_cast<double>(clientHeight) / chartHeight;
    return std::min({zx, zy, 1.0});
}

double chartWidthZoom(int clientWidth, int clientHeight, int chartWidth, int chartHeight) {
    const int bar = chartHeight * clientWidth > clientHeight * chartWidth ? kScrollBarThickness : 0;
    return static_cast<double>(clientWidth - bar) / chartWidth;
}

std::string zoomText(double zoom) {
    const double percent = zoom * 100;
    char text[32];
    if (percent >= 10 || percent == std::floor(percent)) {
        std::snprintf(text, sizeof text, "%.0f%%", percent);
    } else {
        std::snprintf(text, sizeof text, "%.1f%%", percent);
    }
    return text;
}

ViewOffset openingOffset(const std::vector<DrawnPerson>& persons, int chartWidth, int chartHeight,
                         bool vertical, int viewWidth, int viewHeight) {
    constexpr int kRoom = 16; // chart pixels left around the first block
    const double cornerX = vertical ? chartWidth : 0;
    const DrawnPerson* first = nullptr;
    double nearest = 0;
    for (const DrawnPerson& p : persons) {
        if (p.box.empty()) {
            continue;
        }
        const double dx = (vertical ? p.box.right : p.box.left) - cornerX;
        const double dy = p.box.top;
        const double d = dx * dx + dy * dy;
        if (first == nullptr || d < nearest) {
            first = &p;
            nearest = d;
        }
    }
    const auto within = [](int v, int length, int shown) {
        return std::clamp(v, 0, std::max(0, length - shown));
    };
    if (first == nullptr) {
        return {vertical ? within(chartWidth, chartWidth, viewWidth) : 0, 0};
    }
    const int x = vertical ? first->box.right + kRoom - viewWidth : first->box.left - kRoom;
    return {within(x, chartWidth, viewWidth),
            within(first->box.top - kRoom, chartHeight, viewHeight)};
}

} // namespace render
