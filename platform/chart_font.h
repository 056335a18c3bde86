// The chart font and its cell metrics: the width and height of one full-width character,
// the unit of all chart spacing. Needs a QGuiApplication.
#pragma once

namespace platform {

inline constexpr const char* kChartFontFamily = "ＭＳ 明朝";

struct CellMetrics {
    int CW = 0; // advance of "　"
    int CH = 0; // advance of one line
};

// Maps the chart font name onto the installed Mincho face (once per process).
void installChartFontSubstitution();

// The pixel size of a font size in points at the fixed 96 dots per inch of every chart
// (16 points = 21 pixels). A size of 0 or less counts as 16 points.
int chartPixelSize(double points);

// 文字_MAX: CW and CH of the chart font at `points`.
CellMetrics measureChartCell(double points);

// Loads the font list and the Mincho face, which the first measure of the chart font
// otherwise waits for: a job may do it while it does something else, such as reading the
// folder.
void loadChartFont();

} // namespace platform
