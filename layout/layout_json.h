// The plain layout output of `tsubaki --layout`: the survey's roots, households and
// families and every used slot's position, as one JSON object.
#pragma once

#include "layout/chart_layout.h"
#include "layout/chart_survey.h"

#include <string>

namespace layout {

// Members: "cell", "roots", "households", "families", "slots", "extent".
std::string layoutJson(const SurveyResult& survey, const ChartLayout& chart);

} // namespace layout
