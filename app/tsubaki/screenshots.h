// Pictures of the forms for checking how they look (scripts/screenshot).
#pragma once

#include <string>

class QDir;
class QString;
class QWidget;

namespace app {

class ChartWindow;
class TsubakiApp;

// Shows `form`, lets it paint, and saves it as `name`.png in `dir` (the path is printed).
// False when the picture cannot be written.
bool snapForm(QWidget* form, const QDir& dir, const QString& name);

// Saves the whole screen as the user sees it (the forms where they opened) as `name`.png in
// `dir` (the path is printed). False when the picture cannot be written.
bool snapScreen(const QDir& dir, const QString& name);

// Saves the whole of the chart shown in `window` as `name`.png in `dir` (the path is
// printed). False when there is no chart or the picture cannot be written.
bool saveChartPicture(ChartWindow* window, const QDir& dir, const QString& name);

// Saves a PNG of every form into `folder`: MAINFORM as started (mainform.png), the person
// form opened on the first person through the list and "リスト中の当事者を編集"
// (form5.png), then each other form shown by itself (form2.png ... form11.png), then the
// family forms on the data folder's second family: form2_family.png, form6_family.png,
// form6_child.png with its first child selected and form6_choosing.png after "子供の追加";
// then the whole screen with those forms where they open (screen_mainform.png,
// screen_form5.png, screen_form7.png, screen_form5_guidance.png, screen_family.png,
// screen_family_child.png, screen_family_choosing.png, screen_family_nothing_added.png).
// Writes no register. Returns the exit code (1 when a picture could not be saved).
int saveScreenshots(TsubakiApp& app, const std::string& folder);

} // namespace app
