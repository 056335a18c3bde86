#include "common/folder_transaction.h"

#include "common/folder_lock.h"

#include "common/file_io.h"
#include "common/file_ops.h"
#include "common/register_files.h"

#include <cerrno>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace common {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kJournalHeader = "tsubaki folder journal 1";

std::uint64_t hashOf(std::string_view bytes) {
    std::uint64_t h = 1469598103934665603ull; // FNV-1a
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string hex(std::uint64_t v) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s(16, '0');
    for (int i = 15; i >= 0; --i) {
        s[static_cast<std::size_t>(i)] = kDigits[v & 15];
        v >>= 4;
    }
    return s;
}

// One line of the journal: what happens to one file.
struct Entry {
    bool remove = false;
    std::string name;   // the target
    std::string staged; // the staged new contents (writes only)
    std::string aside;  // where the old file is set aside; empty when there was none
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
};

std::string journalBytes(const std::vector<Entry>& entries) {
    std::string out(kJournalHeader);
    out += '\n';
    for (const Entry& e : entries) {
        if (e.remove) {
            out += "remove\t" + e.name + "\t" + e.aside + "\n";
        } else {
            out += "write\t" + e.name + "\t" + e.staged + "\t" + e.aside + "\t" +
                   std::to_string(e.size) + "\t" + hex(e.hash) + "\n";
        }
    }
    out += "end\t" + hex(hashOf(out)) + "\n";
    return out;
}

std::vector<std::string> splitTabs(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.emplace_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

// A name the journal may hold: a plain file name of the folder.
bool plainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

struct Journal {
    bool whole = false; // the end line is there and its hash matches
    std::vector<Entry> entries;
};

Journal parseJournal(std::string_view bytes) {
    Journal j;
    std::size_t pos = 0;
    bool first = true;
    while (pos < bytes.size()) {
        const std::size_t nl = bytes.find('\n', pos);
        if (nl == std::string_view::npos) {
            break; // a torn last line
        }
        const std::string_view line = bytes.substr(pos, nl - pos);
        const std::size_t lineStart = pos;
        pos = nl + 1;
        if (first) {
            if (line != kJournalHeader) {
                return j;
            }
            first = false;
            continue;
        }
        const auto f = splitTabs(line);
        if (f[0] == "end" && f.size() == 2) {
            j.whole = f[1] == hex(hashOf(bytes.substr(0, lineStart))) && pos == bytes.size();
            return j;
        }
        Entry e;
        if (f[0] == "write" && f.size() == 6) {
            e.name = f[1];
            e.staged = f[2];
            e.aside = f[3];
            try {
                e.size = std::stoull(f[4]);
                e.hash = std::stoull(f[5], nullptr, 16);
            } catch (const std::exception&) {
                return j;
            }
        } else if (f[0] == "remove" && f.size() == 3) {
            e.remove = true;
            e.name = f[1];
            e.aside = f[2];
        } else {
            return j;
        }
        if (!plainName(e.name) || (!e.remove && !plainName(e.staged)) ||
            (!e.aside.empty() && !plainName(e.aside))) {
            return j;
        }
        j.entries.push_back(std::move(e));
    }
    return j;
}

std::string quotedNames(const std::vector<std::string>& names) {
    std::string s;
    for (const auto& n : names) {
        s += "「" + n + "」";
    }
    return s;
}

// Whether `p` exists: 0 and `yes` set, or the error that kept it from being told.
int probe(FileOps& ops, const fs::path& p, bool& yes) {
    const int err = ops.exists(p);
    yes = err == 0;
    return err == ENOENT ? 0 : err;
}

// For cleaning up only: an error counts as absent.
bool present(FileOps& ops, const fs::path& p) {
    return ops.exists(p) == 0;
}

// Whether the file at `p` holds exactly `size` bytes of hash `hash`.
bool holds(FileOps& ops, const fs::path& p, std::uint64_t size, std::uint64_t hash) {
    std::string bytes;
    return ops.readFile(p, bytes) == 0 && bytes.size() == size && hashOf(bytes) == hash;
}

// Sets the file `name` aside as `aside`: a second link, so that `name` never goes missing;
// a rename where links are not possible.
int setAside(FileOps& ops, const fs::path& folder, const Entry& e) {
    if (ops.link(folder / e.name, folder / e.aside) == 0) {
        return 0;
    }
    return ops.rename(folder / e.name, folder / e.aside);
}

// Undoes the entries (in reverse order), whatever part of them was done. Returns 0 or the
// first error; what is left undone is undone by the next recovery.
int undo(FileOps& ops, const fs::path& folder, const std::vector<Entry>& entries) {
    int first = 0;
    auto note = [&](int err) {
        if (first == 0) {
            first = err;
        }
        return err;
    };
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const Entry& e = *it;
        const fs::path target = folder / e.name;
        bool staged = false;
        if (!e.remove && note(probe(ops, folder / e.staged, staged)) != 0) {
            continue;
        }
        if (!e.aside.empty()) {
            bool aside = false;
            if (note(probe(ops, folder / e.aside, aside)) != 0) {
                continue;
            }
            if (aside) {
                // The old file comes back over the new one (or over itself, when only the
                // second link was made, which leaves the second name to remove).
                if (note(ops.rename(folder / e.aside, target)) != 0) {
                    continue;
                }
                if (note(probe(ops, folder / e.aside, aside)) != 0) {
                    continue;
                }
                if (aside && note(ops.remove(folder / e.aside)) != 0) {
                    continue;
                }
            }
        } else if (!e.remove && !staged) {
            // The target did not exist before: when its staged file is gone, what is there
            // now is the new file.
            bool there = false;
            if (note(probe(ops, target, there)) != 0) {
                continue;
            }
            if (there && note(ops.remove(target)) != 0) {
                continue;
            }
        }
        if (staged) {
            note(ops.remove(folder / e.staged));
        }
    }
    return first;
}

// Whether every entry can be completed from what is in the folder.
bool completable(FileOps& ops, const fs::path& folder, const std::vector<Entry>& entries) {
    for (const Entry& e : entries) {
        if (e.remove) {
            continue;
        }
        bool staged = false;
        if (probe(ops, folder / e.staged, staged) != 0) {
            return false;
        }
        if (!holds(ops, folder / (staged ? e.staged : e.name), e.size, e.hash)) {
            return false;
        }
    }
    return true;
}

// Completes the entries, whatever part of them was done. Returns 0 or the first error.
int complete(FileOps& ops, const fs::path& folder, const std::vector<Entry>& entries) {
    for (const Entry& e : entries) {
        const fs::path target = folder / e.name;
        bool there = false;
        if (const int err = probe(ops, e.remove ? target : folder / e.staged, there)) {
            return err;
        }
        if (!there) {
            continue;
        }
        if (const int err = e.remove ? ops.remove(target) : ops.rename(folder / e.staged, target)) {
            return err;
        }
    }
    return 0;
}

void removeAsides(FileOps& ops, const fs::path& folder, const std::vector<Entry>& entries) {
    for (const Entry& e : entries) {
        if (!e.aside.empty() && present(ops, folder / e.aside)) {
            ops.remove(folder / e.aside); // a leftover is removed by the next recovery
        }
    }
}

// Removes the temporary files of our own naming in `folder`; returns how many.
int removeOwnTemporaries(FileOps& ops, const fs::path& folder, bool backupStaging) {
    std::vector<std::string> names;
    if (ops.listFolder(folder, names) != 0) {
        return 0;
    }
    int removed = 0;
    for (const auto& name : names) {
        if (!isOwnTemporaryName(name)) {
            continue;
        }
        const fs::path p = folder / name;
        if (!backupStaging && beingWritten(p)) {
            continue; // a file another program is writing now
        }
        if (backupStaging) {
            // An unfinished backup: a folder of copies.
            std::vector<std::string> inner;
            if (ops.listFolder(p, inner) == 0) {
                for (const auto& f : inner) {
                    ops.remove(p / f);
                }
                if (ops.removeFolder(p) == 0) {
                    ++removed;
                }
                continue;
            }
        }
        if (ops.remove(p) == 0) {
            ++removed;
        }
    }
    return removed;
}

} // namespace

FolderTransaction::FolderTransaction(std::filesystem::path folder)
    : folder_(folder.empty() ? std::filesystem::path(".") : std::move(folder)) {}

void FolderTransaction::write(std::string_view name, std::string bytes) {
    if (!plainName(name) || name.find('\t') != std::string_view::npos ||
        name.find('\n') != std::string_view::npos) {
        throw std::logic_error("not a file name of the folder: " + std::string(name));
    }
    for (auto& c : changes_) {
        if (c.name == name) {
            c.remove = false;
            c.bytes = std::move(bytes);
            return;
        }
    }
    changes_.push_back({std::string(name), false, std::move(bytes)});
}

void FolderTransaction::remove(std::string_view name) {
    write(name, {});
    for (auto& c : changes_) {
        if (c.name == name) {
            c.remove = true;
        }
    }
}

namespace {

constexpr std::string_view kUnchanged = "。どのファイルも元のままです。";

} // namespace

// One commit's working state: the entries staged so far, and the start of every message.
struct FolderTransaction::Commit {
    FileOps& ops;
    const fs::path& folder;
    fs::path journal;
    std::string subject;
    std::vector<Entry> entries;

    void refuseOverJournal() const;
    void stage(const std::vector<Change>& changes);
    void writeJournal() const;
    void renameIntoPlace();

    void removeStaged() const {
        for (const Entry& e : entries) {
            if (!e.remove) {
                ops.remove(folder / e.staged);
            }
        }
    }
    [[noreturn]] void failBeforeRenames(std::string_view what, int err, bool journalMade) const {
        if (journalMade) {
            ops.remove(journal);
        }
        removeStaged();
        throw FileError(subject + std::string(what) + "（" + systemReason(err) + "）" +
                        std::string(kUnchanged));
    }
    // A failure once renaming has begun puts the old files back at once.
    [[noreturn]] void failAfterRenames(const std::string& what, int err) const {
        std::string message = subject + what + "（" + systemReason(err) + "）";
        const int undone = undo(ops, folder, entries);
        const int synced = undone == 0 ? ops.syncFolder(folder) : undone;
        const int cleared = synced == 0 ? ops.remove(journal) : synced;
        if (cleared == 0) {
            message += std::string(kUnchanged);
        } else {
            message += "。元に戻すこともできませんでした（" + systemReason(cleared) +
                       "）。次にこのフォルダを開くときに元に戻します。";
        }
        throw FileError(message);
    }
};

void FolderTransaction::commit() {
    if (committed_) {
        throw std::logic_error("FolderTransaction committed twice");
    }
    committed_ = true;
    std::vector<std::string> names;
    for (const auto& c : changes_) {
        names.push_back(c.name);
    }
    // While the change is made, no other program's recovery takes it for a killed one.
    const FolderLock lock(folder_);
    Commit run{
        fileOps(), folder_, folder_ / kJournalName, quotedNames(names) + "を保存できません：", {}};
    run.refuseOverJournal();
    run.stage(changes_);
    if (run.entries.empty()) {
        return;
    }
    run.writeJournal();
    run.renameIntoPlace();
    // Done. The old files go; what cannot go now goes at the next recovery.
    removeAsides(run.ops, folder_, run.entries);
}

// A journal left in the folder belongs to another change, finished or not.
void FolderTransaction::Commit::refuseOverJournal() const {
    bool journalThere = false;
    if (const int err = probe(ops, journal, journalThere)) {
        throw FileError(subject + "フォルダを調べられません（" + systemReason(err) + "）" +
                        std::string(kUnchanged));
    }
    if (journalThere) {
        throw FileError(subject +
                        "このフォルダには中断された変更が残っています（別のプログラムが変更中か、"
                        "途中で止まった変更です）。フォルダを開き直してください" +
                        std::string(kUnchanged));
    }
}

// Every new file staged beside its name, and a place to set each old file aside; nothing in
// the folder changes yet. A removal of a file that is not there is no entry.
void FolderTransaction::Commit::stage(const std::vector<Change>& changes) {
    for (const auto& c : changes) {
        Entry e;
        e.name = c.name;
        e.remove = c.remove;
        // Only a regular file is replaced or removed; a folder in its place is refused.
        const int kind = ops.regularFile(folder / c.name);
        const bool exists = kind == 0;
        if (kind != 0 && kind != ENOENT) {
            removeStaged();
            throw FileError(subject + "「" + c.name + "」を置き換えられません（" +
                            systemReason(kind) + "）" + std::string(kUnchanged));
        }
        if (c.remove) {
            if (!exists) {
                continue;
            }
        } else {
            fs::path staged;
            std::string what;
            if (const int err = tryStageFile(folder / c.name, c.bytes, staged, what)) {
                removeStaged();
                throw FileError(subject + "「" + c.name + "」の" + what + "（" + systemReason(err) +
                                "）" + std::string(kUnchanged));
            }
            e.staged = staged.filename().string();
            e.size = c.bytes.size();
            e.hash = hashOf(c.bytes);
        }
        if (exists) {
            e.aside = setAsideName(c.name);
            if (present(ops, folder / e.aside)) {
                ops.remove(folder / e.aside); // a leftover of our own naming
            }
        }
        entries.push_back(std::move(e));
    }
}

// The journal, durable before anything is renamed.
void FolderTransaction::Commit::writeJournal() const {
    const std::string bytes = journalBytes(entries);
    int fd = -1;
    if (const int err = ops.createNew(journal, fd)) {
        failBeforeRenames("変更の記録を作れません", err, false);
    }
    if (const int err = ops.write(fd, bytes.data(), bytes.size())) {
        ops.close(fd);
        failBeforeRenames("変更の記録を書き込めません", err, true);
    }
    if (const int err = ops.syncFile(fd)) {
        ops.close(fd);
        failBeforeRenames("変更の記録をディスクに書き出せません", err, true);
    }
    if (const int err = ops.close(fd)) {
        failBeforeRenames("変更の記録を閉じられません", err, true);
    }
    if (const int err = ops.syncFolder(folder)) {
        failBeforeRenames("フォルダをディスクに書き出せません", err, true);
    }
}

// Each old file set aside and each new one renamed into its place (or the name removed);
// then the folder synced and the journal removed.
void FolderTransaction::Commit::renameIntoPlace() {
    for (const Entry& e : entries) {
        if (!e.aside.empty()) {
            if (const int err = setAside(ops, folder, e)) {
                failAfterRenames("「" + e.name + "」を退避できません", err);
            }
        }
        if (!e.remove) {
            if (const int err = ops.rename(folder / e.staged, folder / e.name)) {
                failAfterRenames("「" + e.name + "」を置き換えられません", err);
            }
        } else {
            // Set aside by a second link, the name itself goes now; set aside by a rename,
            // it has gone.
            bool there = false;
            int err = probe(ops, folder / e.name, there);
            if (err == 0 && there) {
                err = ops.remove(folder / e.name);
            }
            if (err != 0) {
                failAfterRenames("「" + e.name + "」を削除できません", err);
            }
        }
    }
    if (const int err = ops.syncFolder(folder)) {
        failAfterRenames("フォルダをディスクに書き出せません", err);
    }
    if (const int err = ops.remove(journal)) {
        failAfterRenames("変更の記録を消せません", err);
    }
}

std::string recoverFolder(const std::filesystem::path& folderIn) {
    FileOps& ops = fileOps();
    const fs::path folder = folderIn.empty() ? fs::path(".") : folderIn;
    const fs::path journal = folder / kJournalName;
    // A change another program is making now is not one a killed run left: wait for it.
    const FolderLock lock(folder);
    std::string message;
    auto fail = [&](std::string_view what, int err) {
        throw FileError("データフォルダ「" + folder.string() + "」の中断された変更を" +
                        std::string(what) + "（" + systemReason(err) + "）。" +
                        "このままでは読み込めません。");
    };
    bool journalThere = false;
    if (const int err = probe(ops, journal, journalThere)) {
        fail("調べられません", err);
    }
    if (journalThere) {
        std::string bytes;
        if (const int err = ops.readFile(journal, bytes)) {
            fail("読み取れません", err);
        }
        const Journal j = parseJournal(bytes);
        std::vector<std::string> names;
        for (const Entry& e : j.entries) {
            names.push_back(e.name);
        }
        const bool forward = j.whole && completable(ops, folder, j.entries);
        if (forward) {
            if (const int err = complete(ops, folder, j.entries)) {
                fail("完了できません", err);
            }
        } else if (const int err = undo(ops, folder, j.entries)) {
            fail("取り消せません", err);
        }
        if (const int err = ops.syncFolder(folder)) {
            fail(forward ? "完了できません" : "取り消せません", err);
        }
        if (const int err = ops.remove(journal)) {
            fail(forward ? "完了できません" : "取り消せません", err);
        }
        removeAsides(ops, folder, j.entries);
        if (forward) {
            message = "中断されていた保存を完了しました（" + quotedNames(names) + "）。";
        } else if (names.empty()) {
            message = "中断されていた保存を取り消しました（どのファイルも元のままです）。";
        } else {
            message =
                "中断されていた保存を取り消しました（" + quotedNames(names) + "は元のままです）。";
        }
    }
    const int removed = removeOwnTemporaries(ops, folder, false) +
                        removeOwnTemporaries(ops, folder / kBackupFolder, true);
    if (removed > 0) {
        message += "途中で残った一時ファイルを " + std::to_string(removed) + " 個削除しました。";
    }
    return message;
}

} // namespace common
