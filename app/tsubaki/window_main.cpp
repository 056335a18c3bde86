// tsubaki-window: the chart editor's window, started by `tsubaki` (main.cpp) when it has no
// command-line job, on the data folder given as the one argument or on the one chosen in
// the folder dialog.
//
// For screenshots, TSUBAKI_SCREENSHOT_DIR=DIR makes the program save a picture of every
// form into DIR after start-up and end without writing anything (see scripts/screenshot).
#include "app/tsubaki/screenshots.h"
#include "app/tsubaki/tsubaki_app.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_japanese.h"

#include <QApplication>

#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    QApplication qapp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    platform::installJapanese(qapp);

    platform::QtDialogs dialogs;
    app::TsubakiApp tsubaki(dialogs);
    tsubaki.setEndHandler([](int code) { QCoreApplication::exit(code); });

    app::StartOptions options;
    if (!args.empty()) {
        options.dataFolder = args[0];
    }
    if (!tsubaki.start(options)) {
        return tsubaki.exitCode();
    }
    if (const char* dir = std::getenv("TSUBAKI_SCREENSHOT_DIR"); dir != nullptr && *dir != 0) {
        return app::saveScreenshots(tsubaki, dir);
    }
    return QApplication::exec();
}
