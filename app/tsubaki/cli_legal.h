// The command-line jobs of the legal charts' heirs and checks: --heirs, --check, and the
// findings that --chart and --text (and every later output of a legal chart) print before
// drawing. cli.cpp reads the options and the folder; these work on what it read.
#pragma once

#include "core/data_folder.h"
#include "core/folder_options.h"
#include "render/legal_chart.h"

#include <optional>
#include <ostream>

namespace app {

// The deceased of base family `base`: its lineage, or the --centre answer when none is set.
// 0 with the message on `err` when neither names a person.
int legalDeceased(const core::DataFolder& data, int base, std::optional<bool> centreOnHusband,
                  std::ostream& err);

// --heirs: the deceased, each heir (number, name, relationship, rank or representation,
// share) and each person passed over with the reason (every person of the heir list of base
// family `base` is accounted for); as JSON with `json`. Exit code.
int heirsJob(const core::DataFolder& data, int base, int deceased, bool json, std::ostream& out);

// --check: the findings one a line; 2 when there is an error, else 0. The legal chart the
// settings choose, the list chart when they choose none.
int checkJob(const core::DataFolder& data, int base, int deceased, core::ListChartForm form,
             std::ostream& out, std::ostream& err);

// The one gate of every output of a legal chart: the findings of `chart` written to `err`,
// one a line. False (after saying so) when `strict` and there is an error: the chart is
// then not drawn.
bool legalFindingsAllowDrawing(const core::DataFolder& data, const render::LegalChart& chart,
                               bool strict, std::ostream& err);

} // namespace app
