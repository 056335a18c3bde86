// tsubaki: the chart editor. Command-line jobs run here, without a window and without the
// widget libraries, which a job would otherwise spend its start loading. Without a job the
// window program "tsubaki-window" beside this one takes over the process, with the same
// arguments (window_main.cpp).
#include "app/tsubaki/cli.h"

#include "common/file_ops.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

namespace {

// Replaces this process with the window program; returns only when that cannot be done.
int startWindow(char** argv) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path window =
        (ec ? std::filesystem::path(argv[0]).parent_path() : self.parent_path()) / "tsubaki-window";
    const std::string path = window.string();
    argv[0] = const_cast<char*>(path.c_str());
    ::execv(path.c_str(), argv);
    std::cerr << "ウィンドウのプログラム「" << path << "」を起動できません（"
              << common::systemReason(errno) << "）\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (app::isHeadlessJob(args) || args.size() > 1) {
        return app::runHeadlessJob(args, std::cout, std::cerr); // the usage for a wrong call
    }
    return startWindow(argv);
}
