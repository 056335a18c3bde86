// The fault and crash run of one multi-file job: the job is run once to count its file
// operations and to learn the folder it leaves; then, from the same starting folder, each
// operation in turn is failed (the job must report it and leave the old folder) and the
// job is stopped at each operation as a kill would stop it, and then again with the
// recovery itself stopped at each of its operations. After every run the recovery runs;
// the folder must then load, hold wholly the old or wholly the new files, and keep no
// temporary file.
#pragma once

#include "common/folder_transaction.h"
#include "fault_ops.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace testing_support {

struct FaultTally {
    long jobs = 0;
    long failedOperations = 0; // runs with one operation failed
    long stops = 0;            // runs stopped as by a kill (the recovery's stops included)
    long mixedOrUnreadable = 0;
    long leftovers = 0;    // runs that left a temporary file after the recovery
    long wrongReports = 0; // success reported with the old folder, or failure with the new
};

struct FaultJob {
    std::string name;
    std::filesystem::path folder;
    FolderSnapshot start;                   // the folder before the job
    std::function<bool()> run;              // true when the job reports success
    std::function<void()> loads;            // throws when the folder does not load
    std::function<FolderSnapshot()> result; // what of the folder the job changes
    // Optional: what must hold at every instant a kill may leave, before any recovery;
    // throws when it does not.
    std::function<void()> atEveryInstant;
};

namespace detail {

inline bool hasTemporaries(const std::filesystem::path& folder) {
    if (!temporaries(snapshot(folder)).empty()) {
        return true;
    }
    const auto backups = folder / "BACKUP";
    if (std::filesystem::is_directory(backups)) {
        for (const auto& e : std::filesystem::directory_iterator(backups)) {
            if (common::isOwnTemporaryName(e.path().filename().string())) {
                return true;
            }
        }
    }
    return false;
}

// Recovery with the system's operations, then the checks. `reported` is the job's report
// (absent after a kill).
inline void check(const FaultJob& job, const FolderSnapshot& before, const FolderSnapshot& after,
                  int reported, const std::string& run, FaultTally& tally) {
    FaultyFileOps unsynced; // counts only; no sync is made
    common::ScopedFileOps scope(unsynced);
    try {
        common::recoverFolder(job.folder);
    } catch (const std::exception& e) {
        ADD_FAILURE() << job.name << " " << run << ": recovery failed: " << e.what();
    }
    bool loads = true;
    try {
        job.loads();
    } catch (const std::exception& e) {
        loads = false;
        ADD_FAILURE() << job.name << " " << run << ": the folder does not load: " << e.what();
    }
    const FolderSnapshot now = job.result();
    const bool old = now == before;
    const bool isNew = now == after;
    if (!loads || (!old && !isNew)) {
        ++tally.mixedOrUnreadable;
        if (loads) {
            ADD_FAILURE() << job.name << " " << run << ": the folder is neither old nor new";
        }
    }
    if ((reported == 1 && !isNew) || (reported == 0 && !old)) {
        ++tally.wrongReports;
        ADD_FAILURE() << job.name << " " << run << ": reported "
                      << (reported == 1 ? "success" : "failure") << " but the folder is "
                      << (old ? "old" : "not old");
    }
    if (hasTemporaries(job.folder)) {
        ++tally.leftovers;
        ADD_FAILURE() << job.name << " " << run << ": a temporary file is left";
    }
}

// The job's check of the folder as a kill left it, before the recovery.
inline void checkInstant(const FaultJob& job, const std::string& run, FaultTally& tally) {
    if (!job.atEveryInstant) {
        return;
    }
    try {
        job.atEveryInstant();
    } catch (const std::exception& e) {
        ++tally.mixedOrUnreadable;
        ADD_FAILURE() << job.name << " " << run << ", before the recovery: " << e.what();
    }
}

} // namespace detail

// Runs the whole fault and crash exercise of `job`; returns how many operations the job has.
inline long exerciseJob(const FaultJob& job, FaultTally& tally) {
    ++tally.jobs;
    restoreSnapshot(job.folder, job.start);
    const FolderSnapshot before = job.result();
    long operations = 0;
    {
        FaultyFileOps counter;
        common::ScopedFileOps scope(counter);
        EXPECT_TRUE(job.run()) << job.name << " fails without a fault";
        operations = counter.count();
    }
    const FolderSnapshot after = job.result();
    EXPECT_NE(before, after) << job.name << " changes nothing";

    for (long n = 0; n < operations; ++n) {
        restoreSnapshot(job.folder, job.start);
        int reported = -1;
        {
            FaultyFileOps ops(FaultyFileOps::Mode::Fail, n, n % 2 == 0 ? EIO : ENOSPC);
            common::ScopedFileOps scope(ops);
            reported = job.run() ? 1 : 0;
        }
        ++tally.failedOperations;
        detail::check(job, before, after, reported, "fail " + std::to_string(n), tally);
    }

    for (long n = 0; n <= operations; ++n) {
        // The job stopped before operation n (n == operations: after the last one).
        auto killJob = [&] {
            restoreSnapshot(job.folder, job.start);
            FaultyFileOps ops(FaultyFileOps::Mode::Kill, n);
            common::ScopedFileOps scope(ops);
            try {
                job.run();
            } catch (const SimulatedKill&) {
            }
        };
        killJob();
        ++tally.stops;
        detail::checkInstant(job, "stop " + std::to_string(n), tally);
        // The recovery, counted, then stopped at each of its own operations in turn.
        long recoveryOps = 0;
        {
            FaultyFileOps counter;
            common::ScopedFileOps scope(counter);
            try {
                common::recoverFolder(job.folder);
            } catch (const std::exception&) {
            }
            recoveryOps = counter.count();
        }
        detail::check(job, before, after, -1, "stop " + std::to_string(n), tally);
        for (long m = 0; m < recoveryOps; ++m) {
            killJob();
            {
                FaultyFileOps ops(FaultyFileOps::Mode::Kill, m);
                common::ScopedFileOps scope(ops);
                try {
                    common::recoverFolder(job.folder);
                } catch (const SimulatedKill&) {
                }
            }
            ++tally.stops;
            detail::checkInstant(
                job, "stop " + std::to_string(n) + ", recovery stop " + std::to_string(m), tally);
            detail::check(job, before, after, -1,
                          "stop " + std::to_string(n) + ", recovery stop " + std::to_string(m),
                          tally);
        }
    }
    return operations;
}

} // namespace testing_support
