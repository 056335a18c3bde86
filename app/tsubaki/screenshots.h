// Pictures of the forms for checking how they look (scripts/screenshot).
#pragma once

#include <string>

namespace app {

class TsubakiApp;

// Saves a PNG of every form into `folder`: MAINFORM as started (mainform.png), the person
// form opened on the first person through the list and "リスト中の当事者を編集"
// (form5.png), then each other form shown by itself (form2.png ... form11.png), then the
// family forms on the data folder's second family: form2_family.png, form6_family.png,
// form6_child.png with its first child selected and form6_choosing.png after "子供の追加".
// Writes no register. Returns the exit code (1 when a picture could not be saved).
int saveScreenshots(TsubakiApp& app, const std::string& folder);

} // namespace app
