// The page setup remembered per user (QSettings, an INI file in the user's configuration
// folder, never in a data folder): one setup for the family chart and the 相続関係説明図, one
// for the 法定相続情報一覧図 (A4 portrait by default, its guard always). A stored value that
// cannot be used reads as the default.
#pragma once

#include "render/drawing.h"
#include "render/page_setup.h"

#include <QString>

namespace platform {

// The setup the user chose last for charts of `kind`, else the default.
render::PageSetup loadPageSetup(render::DrawingKind kind);

// Remembers `setup` for charts of `kind` (the list chart's guard is not a choice).
void savePageSetup(render::DrawingKind kind, const render::PageSetup& setup);

// The file the choices are kept in.
QString pageSettingsFile();

} // namespace platform
