// One data folder with everything tsubaki keeps in it: the person and family registers,
// the drawing settings, and the environment read at start-up. Passed explicitly to every
// part of the program that reads or changes the registers.
#pragma once

#include "core/drawing_settings.h"
#include "core/environment.h"
#include "core/family_register.h"
#include "core/folder_options.h"
#include "core/person_register.h"
#include "core/registers.h"

#include <filesystem>
#include <vector>

namespace core {

// The parts of a data folder that a save point writes.
enum class Part {
    Persons,  // "当事者目録.TXT" with "創始階層登録.TXT" and "姓名順.TXT"
    Families, // "家族目録.TXT"
    Settings, // "作図設定.TXT"
    Options,  // "tsubaki.ini", written only when it holds something
};

struct DataFolder {
    std::filesystem::path folder;
    Environment env;
    Registers reg;
    DrawingSettings settings;
    FolderOptions options;             // "tsubaki.ini"
    bool familyFilePresent = false;    // "家族目録.TXT" was found when loading
    bool settingsFilePresent = false;  // "作図設定.TXT" was found when loading
    PersonRegisterLayout personLayout; // layout of "当事者目録.TXT" as found

    // Loads the registers found in `folder` the way start-up does: the person register
    // with its companion files, then the family register, then the drawing settings (or
    // the first-use settings when the file is missing), and "tsubaki.ini". `ask` is the
    // old-version question.
    // Throws common::FileError (nothing loaded) or OldVersionDeclined.
    static DataFolder load(const std::filesystem::path& folder, Environment env,
                           const OldVersionQuestion& ask);

    FamilyLimits familyLimits() const;
    SettingsLimits settingsLimits() const;

    // Writes the parts in one folder transaction: when it throws common::FileError, every
    // file of the folder is as it was.
    void save(const std::vector<Part>& parts) const;
    // The three writers alone.
    void savePersons() const;  // 当事者目録_W_SUB
    void saveFamilies() const; // 家族目録_W_SUB
    void saveSettings() const; // 作図設定_SW_SUB
    void saveOptions() const;  // "tsubaki.ini"

    // True when some family has neither a husband nor a wife.
    bool hasFamilyWithoutPartners() const;
};

// Whether `folder` holds a data folder's registers: the person register, the family
// register, the drawing settings, or a change of ours that a killed run left unfinished.
bool holdsRegisters(const std::filesystem::path& folder);

// Deletes family `d`: with more than one family through the deleting writer (renumbering
// and reloading); the last family removes "家族目録.TXT". Persons' family references to
// the deleted family become 0. The family register and the person register, whose family
// references change with it, are written in one folder transaction. Throws
// common::FileError with nothing changed, in memory or on disk.
void deleteFamily(DataFolder& data, int d);

} // namespace core
