// A chart run's recorded drawing replayed onto a recording canvas, so that the tests see
// the operations and texts of the chart as drawn, in chart coordinates.
#pragma once

#include "render/chart_run.h"
#include "render/drawing.h"
#include "render/recording_canvas.h"

namespace testing_support {

inline render::RecordingCanvas replayed(const render::ChartDrawing& d, int lineGap = 3) {
    render::RecordingCanvas target(d.width, d.height, lineGap);
    render::RecordingCanvasFactory scratch(lineGap);
    render::replay(*d.recording, target, scratch);
    return target;
}

} // namespace testing_support
