// The `tsubaki` executable itself: it links no widget library (a command-line job would
// otherwise load them first), and without a job it hands the process, with its arguments,
// to the window program beside it, or says that it cannot.
#include "common/file_io.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// Runs a shell command; its standard output and error together, and its exit code.
std::string run(const std::string& command, int& code) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        code = -1;
        return out;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

// A copy of `tsubaki` alone in a folder of its own.
fs::path copyAlone(const testing_support::TempDir& dir) {
    const fs::path exe = dir.path() / "tsubaki";
    fs::copy_file(TSUBAKI_EXECUTABLE, exe);
    return exe;
}

TEST(ProgramStart, TheCommandLineProgramLinksNoWidgetLibrary) {
    const std::string bytes = common::readFile(TSUBAKI_EXECUTABLE);
    ASSERT_NE(bytes.find("libQt6Gui.so"), std::string::npos) << "the file's needed libraries";
    EXPECT_EQ(bytes.find("libQt6Widgets.so"), std::string::npos);
    EXPECT_EQ(bytes.find("libQt6PrintSupport.so"), std::string::npos);
}

TEST(ProgramStart, WithoutAJobTheWindowProgramBesideItTakesOverWithTheArguments) {
    testing_support::TempDir dir;
    const fs::path exe = copyAlone(dir);
    const fs::path window = dir.path() / "tsubaki-window";
    {
        std::FILE* f = std::fopen(window.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("#!/bin/sh\necho \"window: $0 [$*]\"\nexit 7\n", f);
        std::fclose(f);
    }
    fs::permissions(window, fs::perms::owner_all);
    int code = 0;
    // Started through a link, as from a menu or ~/bin: the window program is looked for
    // beside the real file.
    const fs::path link = dir.path() / "link";
    fs::create_directory(link);
    fs::create_symlink(exe, link / "tsubaki");
    EXPECT_EQ(run((link / "tsubaki").string() + " 'データ フォルダ'", code),
              "window: " + window.string() + " [データ フォルダ]\n");
    EXPECT_EQ(code, 7);
    EXPECT_EQ(run(exe.string(), code), "window: " + window.string() + " []\n");
}

TEST(ProgramStart, AMissingWindowProgramIsNamed) {
    testing_support::TempDir dir;
    const fs::path exe = copyAlone(dir);
    int code = 0;
    const std::string out = run(exe.string(), code);
    EXPECT_EQ(code, 1);
    EXPECT_NE(out.find("ウィンドウのプログラム「" + (dir.path() / "tsubaki-window").string() +
                       "」を起動できません"),
              std::string::npos)
        << out;
    // A wrong call still gets the usage, without the window program.
    EXPECT_NE(run(exe.string() + " a b", code).find("使い方: tsubaki"), std::string::npos);
    EXPECT_EQ(code, 1);
}

} // namespace
