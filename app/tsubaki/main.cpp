// tsubaki: the chart editor.
#include "app/tsubaki/cli.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (app::isHeadlessJob(args)) {
        return app::runHeadlessJob(args, std::cout, std::cerr);
    }
    std::cerr << "tsubaki: the window is not available in this build yet; use --dump or "
                 "--upgrade\n";
    return 1;
}
