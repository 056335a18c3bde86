// mokuren: the register converter. Without arguments it opens its main form; with a job
// name it runs that job headless (see cli.h).
#include "app/mokuren/cli.h"
#include "app/mokuren/mokuren_program.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_japanese.h"

#include <QApplication>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (mokuren_cli::isHeadlessJob(args)) {
        return mokuren_cli::run(args, std::cout, std::cerr);
    }
    QApplication app(argc, argv);
    platform::installJapanese(app);
    // Message boxes appear while every form is hidden; the program ends only when a job or
    // a form says so.
    app.setQuitOnLastWindowClosed(false);
    platform::QtDialogs dialogs;
    std::error_code ec;
    mokuren::Program program(
        dialogs, [] { QCoreApplication::quit(); }, std::filesystem::current_path(ec));
    program.start();
    return app.exec();
}
