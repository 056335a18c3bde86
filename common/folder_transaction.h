// A change of several files of one folder, made whole or not at all, and the recovery of a
// change that a killed run left half done.
//
// Every job that writes more than one file of a data folder (the registers and settings of
// tsubaki's save points, an upgrade, mokuren's masking, restoring and importing) collects
// its new files in one FolderTransaction and commits it:
//
//     common::FolderTransaction change(folder);
//     change.write("当事者目録.TXT", registerBytes);   // new contents of a file
//     change.write("9_当事者目録.TXT", originalBytes);
//     change.remove("家族目録.TXT");                   // gone afterwards (if it exists)
//     change.commit();                                  // throws common::FileError
//
// When commit() returns, every file holds its new contents; when it throws, every file is
// as it was (the message names the files and gives the Japanese reason). A run killed at
// any instant leaves a folder that recoverFolder() puts back to wholly old or wholly new.
//
// How: every new file is staged beside its target (".<name>.tmpXXXXXX") and synced; a
// journal (".tsubaki-journal") naming each staged file, its target, the target's set-aside
// name (".<name>.oldXXXXXX") and the size and hash of the staged contents is written and
// synced, then the folder; each existing target is set aside (a second link to it, so that
// the target never goes missing, or a rename where the file system has no links) and the
// staged file renamed over it, files to remove are renamed to their set-aside names; the
// folder is synced; the journal is removed (the change is done), then the set-aside files.
// A failure before the journal is durable removes what was staged; a failure after it puts
// the set-aside files back at once. Every step goes through common::fileOps().
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace common {

class FolderTransaction {
public:
    explicit FolderTransaction(std::filesystem::path folder);

    // `name` (a file name in the folder, no path) gets `bytes`. A later write or remove of
    // the same name replaces this one.
    void write(std::string_view name, std::string bytes);
    // `name` is removed, when it exists.
    void remove(std::string_view name);

    // Makes every change at once. Throws FileError with the folder unchanged. Throws
    // std::logic_error when called twice.
    void commit();

    const std::filesystem::path& folder() const { return folder_; }
    bool empty() const { return changes_.empty(); }

private:
    struct Change {
        std::string name;
        bool remove = false;
        std::string bytes;
    };
    struct Commit; // one commit's working state and steps (folder_transaction.cpp)
    std::filesystem::path folder_;
    std::vector<Change> changes_;
    bool committed_ = false;
};

// The journal's file name in a folder.
inline constexpr std::string_view kJournalName = ".tsubaki-journal";

// Puts right what a killed run left in `folder`, before anything is read from it: a journal
// whose staged files are whole is completed, any other journal undone; the temporary files
// of these programs' own naming are removed (also those of an unfinished backup in
// "BACKUP"). Returns one line for the user saying what was done, or an empty string when
// nothing was found. Throws FileError when the folder cannot be put right (then it must not
// be read).
std::string recoverFolder(const std::filesystem::path& folder);

} // namespace common
