// Pictures of the forms for checking how they look (scripts/screenshot).
#pragma once

#include <string>

namespace app {

class TsubakiApp;

// Saves a PNG of every form into `folder`: MAINFORM as started (mainform.png), the person
// form opened on the first person through the list and "リスト中の当事者を編集"
// (form5.png), then each other form shown by itself (form2.png ... form11.png). Writes no
// register. Returns the exit code (1 when a picture could not be saved).
int saveScreenshots(TsubakiApp& app, const std::string& folder);

} // namespace app
