// --upgrade rewrites every register of a folder: with each file operation failed in turn
// and the job stopped at each operation as by a kill, the folder afterwards loads and
// holds wholly the old or wholly the upgraded registers.
#include "sample_folder_job.h"

#include "common/cp932.h"
#include "common/folder_transaction.h"
#include "tests/support/fault_harness.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class UpgradeFaults : public testing_support::SampleFolderJob {
protected:
    UpgradeFaults() { expectUnchanged_ = false; }
};

TEST_F(UpgradeFaults, EveryOperationFailedOrStoppedLeavesWhollyOldOrUpgraded) {
    testing_support::FolderSnapshot start = testing_support::snapshot(dir_);
    start.erase("KANKYO.TXT");
    // The person register in the oldest layout: no tag, one address and domicile, no link
    // fields.
    std::istringstream lines(common::decodeCp932(start.at("当事者目録.TXT")));
    std::string line;
    std::string old;
    while (std::getline(lines, line)) {
        if (line.rfind("最大当事者数", 0) == 0) {
            line = "最大当事者数%=, 20 \r";
        }
        for (const char* dropped : {"住所2$(", "本籍2$(", "C_当事者NO%(", "子孫_FL%(", "当姓%("}) {
            if (line.rfind(dropped, 0) == 0) {
                line.clear();
            }
        }
        if (!line.empty()) {
            old += line + "\n";
        }
    }
    start["当事者目録.TXT"] = common::encodeCp932(old);

    const fs::path data = dir_ / "data";
    const auto env = core::readEnvironment(dir_ / "KANKYO.TXT");
    testing_support::FaultJob job;
    job.name = "--upgrade";
    job.folder = data;
    job.start = start;
    job.run = [&] { return run({"--upgrade", data.string()}) == 0; };
    job.loads = [&] { core::DataFolder::load(data, env, [] { return true; }); };
    job.result = [&] { return testing_support::snapshot(data); };
    testing_support::FaultTally tally;
    const long operations = testing_support::exerciseJob(job, tally);
    std::cout << "[ tally    ] --upgrade: " << operations << " operations failed one by one, "
              << tally.stops << " stops, " << tally.mixedOrUnreadable
              << " folders mixed or unreadable\n";
    EXPECT_EQ(tally.mixedOrUnreadable, 0);
    EXPECT_EQ(tally.leftovers, 0);
    EXPECT_EQ(tally.wrongReports, 0);
}

} // namespace
