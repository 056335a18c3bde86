// "当事者目録.TXT" and its companion files "創始階層登録.TXT" and "姓名順.TXT".
#pragma once

#include "core/registers.h"

#include <filesystem>
#include <functional>

namespace common {
class FolderTransaction;
}
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// Thrown when the user declines to read a register of an older version; the program
// ends without touching any file.
class OldVersionDeclined : public std::runtime_error {
public:
    OldVersionDeclined() : std::runtime_error("old-version register declined") {}
};

// Asked before a register of an older layout is read; true reads it.
using OldVersionQuestion = std::function<bool()>;

// Title and text of the old-version question.
inline constexpr const char* kOldVersionTitle = "旧バージョンで作成した当事者目録データです。";
inline constexpr const char* kOldVersionText =
    "このまま読み込んで新バージョンに書き換わってもいいですか";

struct PersonRegisterLayout {
    bool hasVersion = false;
    int version = 0;
    bool isOld() const;
};

// Parses "当事者目録.TXT" (every layout). `capacity` is 最大登録人数. Texts pass through
// the full-width conversion. Throws common::FileError or OldVersionDeclined.
std::vector<当事者> parsePersonRegister(const std::string& bytes, const std::string& fileName,
                                        int capacity, const OldVersionQuestion& ask,
                                        PersonRegisterLayout* layout = nullptr);

// Reads the register of `folder` and, when present, its two companion files.
std::vector<当事者> readPersonRegister(const std::filesystem::path& folder, int capacity,
                                       const OldVersionQuestion& ask,
                                       PersonRegisterLayout* layout = nullptr);

// Reads one companion file's values (`field`: 創始階層 or 姓名順, one per person) from its
// bytes into `persons`; nothing changes when it throws common::FileError.
void parseCompanionFile(const std::string& bytes, std::string_view name,
                        std::vector<当事者>& persons, std::int16_t 当事者::*field);

// Reads 創始階層 and 姓名順 from their files into `persons`, each file only if it exists.
void readCompanionFiles(const std::filesystem::path& folder, std::vector<当事者>& persons);

std::string personRegisterBytes(const std::vector<当事者>& persons);
std::string founderFileBytes(const std::vector<当事者>& persons);
std::string nameOrderFileBytes(const std::vector<当事者>& persons);

// Adds the three files of the person register to `change` (every file is built first;
// common::FileError for a value that cannot be written, with nothing added).
void writePersonRegister(common::FolderTransaction& change, const std::vector<当事者>& persons);

// The writer: "当事者目録.TXT", "創始階層登録.TXT" and "姓名順.TXT" in one folder
// transaction. Throws common::FileError with all three files as they were.
void 当事者目録_W_SUB(const std::filesystem::path& folder, const std::vector<当事者>& persons);

} // namespace core
