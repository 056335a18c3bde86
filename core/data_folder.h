// One data folder with everything tsubaki keeps in it: the person and family registers,
// the drawing settings, and the environment read at start-up. Passed explicitly to every
// part of the program that reads or changes the registers.
#pragma once

#include "core/drawing_settings.h"
#include "core/environment.h"
#include "core/family_register.h"
#include "core/person_register.h"
#include "core/registers.h"

#include <filesystem>

namespace core {

struct DataFolder {
    std::filesystem::path folder;
    Environment env;
    Registers reg;
    DrawingSettings settings;
    bool familyFilePresent = false;    // "家族目録.TXT" was found when loading
    bool settingsFilePresent = false;  // "作図設定.TXT" was found when loading
    PersonRegisterLayout personLayout; // layout of "当事者目録.TXT" as found

    // Loads the registers found in `folder` the way start-up does: the person register
    // with its companion files, then the family register, then the drawing settings (or
    // the first-use settings when the file is missing). `ask` is the old-version question.
    // Throws common::FileError (nothing loaded) or OldVersionDeclined.
    static DataFolder load(const std::filesystem::path& folder, Environment env,
                           const OldVersionQuestion& ask);

    FamilyLimits familyLimits() const;
    SettingsLimits settingsLimits() const;

    // The three writers, each replacing its files atomically (common::FileError on failure).
    void savePersons() const;  // 当事者目録_W_SUB
    void saveFamilies() const; // 家族目録_W_SUB
    void saveSettings() const; // 作図設定_SW_SUB

    // True when some family has neither a husband nor a wife.
    bool hasFamilyWithoutPartners() const;
};

// Deletes family `d`: with more than one family through the deleting writer (renumbering
// and reloading); the last family removes "家族目録.TXT". Persons' family references to
// the deleted family become 0. Throws common::FileError with nothing changed.
void deleteFamily(DataFolder& data, int d);

} // namespace core
