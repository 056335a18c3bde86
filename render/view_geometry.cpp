#include "render/view_geometry.h"

#include "render/rounding.h"

#include <algorithm>

namespace render {

ScrollRange SCROLL_XD_SUB(int chartExtent, int viewExtent) {
    const int overflow = chartExtent - viewExtent;
    if (overflow <= 0) {
        return {0, 1.0};
    }
    if (overflow > kLargestUnscaledOverflow) {
        return {kScaledScrollMaximum, static_cast<double>(overflow) / kScaledScrollMaximum};
    }
    return {overflow, 1.0};
}

int scrollPageStep(int maximum) {
    return maximum > 10 ? maximum / 10 : 1;
}

bool ChartView::WIN_SAIZU_SUB(int clientWidth, int clientHeight, int chartWidth, int chartHeight) {
    if (laidOut_ && clientWidth == clientWidth_ && clientHeight == clientHeight_ &&
        chartWidth == chartWidth_ && chartHeight == chartHeight_) {
        return false;
    }
    laidOut_ = true;
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    chartWidth_ = chartWidth;
    chartHeight_ = chartHeight;
    cornerShown_ = false;

    const int bar = kScrollBarThickness;
    bool needH = chartWidth > clientWidth;
    bool needV = chartHeight > clientHeight;
    if (needH && !needV) {
        needV = chartHeight > clientHeight - bar;
    } else if (needV && !needH) {
        needH = chartWidth > clientWidth - bar;
    }

    h_.shown = needH;
    v_.shown = needV;
    h_.scale = v_.scale = 1.0;
    if (!needH && !needV) {
        h_.position = v_.position = 0;
        picture_ = {(clientWidth - chartWidth) / 2, (clientHeight - chartHeight) / 2, chartWidth,
                    chartHeight};
    } else if (needH && !needV) {
        v_.position = 0;
        picture_ = {0, (clientHeight - chartHeight - bar) / 2, clientWidth, chartHeight};
        h_.rect = {0, picture_.y + chartHeight, clientWidth, bar};
    } else if (needV && !needH) {
        h_.position = 0;
        picture_ = {(clientWidth - chartWidth - bar) / 2, 0, chartWidth, clientHeight};
        v_.rect = {picture_.x + chartWidth, 0, bar, clientHeight};
    } else {
        picture_ = {0, 0, std::max(clientWidth - bar, 0), std::max(clientHeight - bar, 0)};
        v_.rect = {picture_.width, 0, bar, picture_.height};
        h_.rect = {0, picture_.height, picture_.width, bar};
        corner_ = {picture_.width, picture_.height, bar, bar};
        cornerShown_ = true;
        cornerState_ = CornerState::TopLeft;
    }

    auto range = [](ScrollBarState& bar, int chart, int view) {
        if (!bar.shown) {
            bar.maximum = 0;
            bar.pageStep = 1;
            bar.position = 0;
            return;
        }
        const ScrollRange r = SCROLL_XD_SUB(chart, view);
        bar.maximum = r.maximum;
        bar.scale = r.scale;
        bar.pageStep = scrollPageStep(r.maximum);
        // The remembered position, kept within the new range.
        bar.position = std::clamp(bar.position, 0, bar.maximum);
    };
    range(h_, chartWidth, picture_.width);
    range(v_, chartHeight, picture_.height);
    syncOffsetFromPositions();
    return true;
}

void ChartView::newDrawing() {
    laidOut_ = false;
    h_.position = v_.position = 0;
    offsetX_ = offsetY_ = 0;
}

std::string ChartView::cornerCaption() const {
    return cornerState_ == CornerState::TopLeft ? "┛" : "┏";
}

void ChartView::syncOffsetFromPositions() {
    offsetX_ = h_.position * h_.scale;
    offsetY_ = v_.position * v_.scale;
}

void ChartView::setHorizontalPosition(int position) {
    h_.position = std::clamp(position, 0, h_.maximum);
    offsetX_ = h_.position * h_.scale;
}

void ChartView::setVerticalPosition(int position) {
    v_.position = std::clamp(position, 0, v_.maximum);
    offsetY_ = v_.position * v_.scale;
}

ViewRect ChartView::sourceRect() const {
    return {px(offsetX_), px(offsetY_), picture_.width, picture_.height};
}

void ChartView::mouseDown(int x, int y) {
    lastX_ = x;
    lastY_ = y;
}

// The offset is clamped to the chart; the scroll position follows it. Older versions took
// the position as the rounded offset divided by the rounded scale, which for a scaled bar
// could lie past the bar's maximum; here it is the nearest unit, within the range.
bool ChartView::mouseMove(int x, int y, bool leftButtonHeld) {
    if (!leftButtonHeld) {
        return false;
    }
    const int dx = x - lastX_;
    const int dy = y - lastY_;
    lastX_ = x;
    lastY_ = y;
    const double oldX = offsetX_;
    const double oldY = offsetY_;
    if (h_.shown) {
        offsetX_ = std::clamp(offsetX_ - dx, 0.0,
                              static_cast<double>(std::max(chartWidth_ - picture_.width, 0)));
        h_.position = std::clamp(px(offsetX_ / h_.scale), 0, h_.maximum);
    }
    if (v_.shown) {
        offsetY_ = std::clamp(offsetY_ - dy, 0.0,
                              static_cast<double>(std::max(chartHeight_ - picture_.height, 0)));
        v_.position = std::clamp(px(offsetY_ / v_.scale), 0, v_.maximum);
    }
    return offsetX_ != oldX || offsetY_ != oldY;
}

void ChartView::pressCornerButton() {
    if (cornerState_ == CornerState::TopLeft) {
        h_.position = h_.maximum;
        v_.position = v_.maximum;
        cornerState_ = CornerState::BottomRight;
    } else {
        h_.position = 0;
        v_.position = 0;
        cornerState_ = CornerState::TopLeft;
    }
    syncOffsetFromPositions();
}

void ChartView::scrollTo(double x, double y) {
    offsetX_ = h_.shown ? std::clamp(x, 0.0,
                                     static_cast<double>(std::max(chartWidth_ - picture_.width, 0)))
                        : 0.0;
    offsetY_ =
        v_.shown
            ? std::clamp(y, 0.0, static_cast<double>(std::max(chartHeight_ - picture_.height, 0)))
            : 0.0;
    h_.position = h_.shown ? std::clamp(px(offsetX_ / h_.scale), 0, h_.maximum) : 0;
    v_.position = v_.shown ? std::clamp(px(offsetY_ / v_.scale), 0, v_.maximum) : 0;
}

} // namespace render
