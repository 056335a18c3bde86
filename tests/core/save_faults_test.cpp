// Every multi-file change of tsubaki's registers, with each file operation failed in turn
// and the change stopped at each operation as by a kill: after the recovery the folder
// loads and holds wholly the old or wholly the new registers.
#include "common/folder_transaction.h"
#include "core/data_folder.h"
#include "tests/support/fault_harness.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <iostream>

namespace fs = std::filesystem;

namespace {

using testing_support::FaultJob;
using testing_support::FaultTally;

const fs::path kSamples = TSUBAKI_SAMPLES_DIR;

class SaveFaults : public ::testing::Test {
protected:
    SaveFaults() {
        for (const auto& e : fs::directory_iterator(kSamples)) {
            if (e.path().filename() != "KANKYO.TXT") {
                start_[e.path().filename().string()] = common::readFile(e.path());
            }
        }
        env_ = core::readEnvironment(kSamples / "KANKYO.TXT");
    }

    core::DataFolder load() const {
        return core::DataFolder::load(folder(), env_, [] { return true; });
    }
    fs::path folder() const { return dir_.path() / "data"; }

    // A job on the registers as loaded from the starting folder.
    FaultJob job(std::string name, std::function<void(core::DataFolder&)> change) {
        FaultJob j;
        j.name = std::move(name);
        j.folder = folder();
        j.start = start_;
        j.run = [this, change] {
            core::DataFolder data;
            {
                // Loading is not part of the change.
                common::FileOps system;
                common::ScopedFileOps scope(system);
                data = load();
            }
            try {
                change(data);
                return true;
            } catch (const common::FileError&) {
                return false;
            }
        };
        j.loads = [this] { load(); };
        j.result = [this] { return testing_support::snapshot(folder()); };
        return j;
    }

    testing_support::TempDir dir_;
    testing_support::FolderSnapshot start_;
    core::Environment env_;
};

TEST_F(SaveFaults, SavePointsAndFamilyDeletionAreWhollyOldOrNew) {
    FaultTally tally;
    long operations = 0;
    // The chart run's save point: settings, person register with companions, families.
    operations += testing_support::exerciseJob(
        job("settings+persons+families",
            [](core::DataFolder& d) {
                d.reg.persons[0].姓 = "変更";
                d.reg.families[0].夫肩書 = "父";
                d.settings.FONT_SIZE = 12;
                d.save({core::Part::Settings, core::Part::Persons, core::Part::Families});
            }),
        tally);
    // The person register alone: three files.
    operations += testing_support::exerciseJob(job("persons",
                                                   [](core::DataFolder& d) {
                                                       d.reg.persons[1].名 = "変更";
                                                       d.savePersons();
                                                   }),
                                               tally);
    // Deleting a family renumbers the persons' references: both registers change.
    operations += testing_support::exerciseJob(job("delete family 2",
                                                   [](core::DataFolder& d) {
                                                       d.reg.families[1].子.clear();
                                                       core::deleteFamily(d, 2);
                                                   }),
                                               tally);
    // Deleting the last family removes the family register.
    operations += testing_support::exerciseJob(job("delete the last family",
                                                   [](core::DataFolder& d) {
                                                       d.reg.families.resize(1);
                                                       d.reg.families[0].子.clear();
                                                       core::deleteFamily(d, 1);
                                                   }),
                                               tally);
    std::cout << "[ tally    ] tsubaki saves: " << tally.jobs << " jobs, " << operations
              << " operations failed one by one, " << tally.stops << " stops, "
              << tally.mixedOrUnreadable << " folders mixed or unreadable\n";
    EXPECT_EQ(tally.failedOperations, operations);
    EXPECT_EQ(tally.mixedOrUnreadable, 0);
    EXPECT_EQ(tally.leftovers, 0);
    EXPECT_EQ(tally.wrongReports, 0);
}

TEST_F(SaveFaults, AFailedDeletionKeepsTheRegistersInMemory) {
    testing_support::restoreSnapshot(folder(), start_);
    core::DataFolder data = load();
    data.reg.families[1].子.clear();
    long operations = 0;
    {
        testing_support::FaultyFileOps count;
        common::ScopedFileOps scope(count);
        core::DataFolder copy = data;
        core::deleteFamily(copy, 2);
        operations = count.count();
    }
    testing_support::restoreSnapshot(folder(), start_);
    int failed = 0;
    for (long n = 0; n < operations; ++n) {
        core::DataFolder copy = data;
        testing_support::FaultyFileOps ops(testing_support::FaultyFileOps::Mode::Fail, n, EROFS);
        common::ScopedFileOps scope(ops);
        try {
            core::deleteFamily(copy, 2);
            EXPECT_EQ(copy.reg.familyCount(), data.reg.familyCount() - 1);
            testing_support::restoreSnapshot(folder(), start_);
        } catch (const common::FileError& e) {
            ++failed;
            EXPECT_EQ(copy.reg, data.reg) << "fail " << n;
            EXPECT_NE(std::string(e.what()).find("読み取り専用の場所です"), std::string::npos)
                << e.what();
        }
    }
    EXPECT_GT(failed, 10);
}

} // namespace
