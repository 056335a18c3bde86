// The fixture of the command-line tests: a copy of the sample folder in a temporary folder,
// the working directory inside it (where "KANKYO.TXT" is), a folder for outputs, and the
// job run in-process with its stdout and stderr kept.
#pragma once

#include "app/tsubaki/cli.h"
#include "common/file_io.h"
#include "core/data_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <stdlib.h>

namespace testing_support {

// Every file below a folder with its contents.
inline std::map<std::string, std::string> folderContents(const std::filesystem::path& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
        if (e.is_regular_file()) {
            out[std::filesystem::relative(e.path(), dir).string()] = common::readFile(e.path());
        }
    }
    return out;
}

class SampleFolderJob : public ::testing::Test {
protected:
    void SetUp() override {
        char data[] = "/tmp/tsubaki-job-XXXXXX";
        dir_ = mkdtemp(data);
        char outputs[] = "/tmp/tsubaki-job-out-XXXXXX";
        out_dir_ = mkdtemp(outputs);
        for (const auto& e : std::filesystem::directory_iterator(TSUBAKI_SAMPLES_DIR)) {
            std::filesystem::copy_file(e.path(), dir_ / e.path().filename());
        }
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        before_ = folderContents(dir_);
    }
    void TearDown() override {
        if (expectUnchanged_) {
            EXPECT_EQ(folderContents(dir_), before_) << "the data folder changed";
        }
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
        std::filesystem::remove_all(out_dir_);
    }

    int run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return app::runHeadlessJob(args, out_, err_);
    }
    bool outHas(const std::string& fragment) const {
        return out_.str().find(fragment) != std::string::npos;
    }
    bool errHas(const std::string& fragment) const {
        return err_.str().find(fragment) != std::string::npos;
    }

    // Changes the registers of the data folder for a case; the folder as changed is what
    // the job must then leave alone.
    void editFolder(const std::function<void(core::DataFolder&)>& edit) {
        core::DataFolder data = core::DataFolder::load(
            dir_, core::readEnvironment(dir_ / "KANKYO.TXT"), [] { return true; });
        edit(data);
        data.saveFamilies();
        data.saveSettings();
        before_ = folderContents(dir_);
    }

    std::filesystem::path out(const std::string& name) const { return out_dir_ / name; }

    std::filesystem::path dir_;
    std::filesystem::path out_dir_;
    std::filesystem::path old_;
    std::map<std::string, std::string> before_;
    bool expectUnchanged_ = true; // the jobs of most tests must not touch the folder
    std::ostringstream out_;
    std::ostringstream err_;
};

} // namespace testing_support
