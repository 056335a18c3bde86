// A Qt application for drawing without a window (benchmarks and other programs without
// forms): the chart font and the canvases need one. Off screen unless QT_QPA_PLATFORM says
// otherwise; none is made when the process already has one.
#pragma once

#include <memory>

class QGuiApplication;

namespace platform {

class OffscreenApplication {
public:
    OffscreenApplication();
    ~OffscreenApplication();
    OffscreenApplication(const OffscreenApplication&) = delete;
    OffscreenApplication& operator=(const OffscreenApplication&) = delete;

private:
    std::unique_ptr<QGuiApplication> app_;
};

} // namespace platform
