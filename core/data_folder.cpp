#include "core/data_folder.h"

#include "common/file_io.h"
#include "common/folder_transaction.h"
#include "core/constants.h"

namespace core {

namespace {

bool fileExists(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::exists(p, ec);
}

// A family reference that names no existing family denotes none. Registers left by the
// removal of the last family keep such numbers; they are cleared so that nothing follows
// them to a family that does not exist.
void clearDanglingFamilyReferences(Registers& reg) {
    const int n = reg.familyCount();
    for (auto& p : reg.persons) {
        for (std::int16_t* f : {&p.父母家族NO, &p.子孫_F, &p.子孫_FL}) {
            if (*f < 0 || *f > n) {
                *f = 0;
            }
        }
    }
}

} // namespace

FamilyLimits DataFolder::familyLimits() const {
    return {env.最大婚姻数, env.一世帯当りの子供の最大数, reg.personCount()};
}

SettingsLimits DataFolder::settingsLimits() const {
    return {reg.familyCount(), reg.personCount(), env.最大婚姻数, env.最大登録人数};
}

DataFolder DataFolder::load(const std::filesystem::path& folder, Environment env,
                            const OldVersionQuestion& ask) {
    DataFolder d;
    d.folder = folder;
    d.env = std::move(env);
    if (fileExists(folder / kPersonFile)) {
        d.reg.persons = readPersonRegister(folder, d.env.最大登録人数, ask, &d.personLayout);
    }
    if (fileExists(folder / kFamilyFile)) {
        d.familyFilePresent = true;
        d.reg.families = readFamilyRegister(folder, d.familyLimits());
    }
    clearDanglingFamilyReferences(d.reg);
    if (fileExists(folder / kSettingsFile)) {
        d.settingsFilePresent = true;
        // Keys an older file lacks keep the values the program starts with.
        d.settings =
            parseDrawingSettings(common::readFile(folder / kSettingsFile),
                                 std::string(kSettingsFile), d.settingsLimits(), DrawingSettings{});
    } else {
        d.settings = firstUseSettings(d.reg.familyCount());
    }
    d.settings.heirFlags.resize(static_cast<std::size_t>(d.reg.personCount()), 0);
    d.options = readFolderOptions(folder);
    return d;
}

void DataFolder::save(const std::vector<Part>& parts) const {
    // Every file is built before anything is written, so that a value that cannot be
    // written leaves the folder as it was.
    common::FolderTransaction change(folder);
    for (const Part part : parts) {
        switch (part) {
        case Part::Persons:
            writePersonRegister(change, reg.persons);
            break;
        case Part::Families:
            change.write(kFamilyFile, familyRegisterBytes(reg.families));
            break;
        case Part::Settings:
            change.write(kSettingsFile,
                         drawingSettingsBytes(settings, reg.familyCount(), reg.personCount()));
            break;
        case Part::Options:
            if (const std::string text = folderOptionsText(options); !text.empty()) {
                change.write(kOptionsFile, text);
            }
            break;
        }
    }
    change.commit();
}

void DataFolder::savePersons() const {
    save({Part::Persons});
}

void DataFolder::saveFamilies() const {
    save({Part::Families});
}

void DataFolder::saveSettings() const {
    save({Part::Settings});
}

void DataFolder::saveOptions() const {
    save({Part::Options});
}

bool DataFolder::hasFamilyWithoutPartners() const {
    for (const auto& f : reg.families) {
        if (f.夫NO == 0 && f.妻NO == 0) {
            return true;
        }
    }
    return false;
}

bool holdsRegisters(const std::filesystem::path& folder) {
    for (const std::string_view name :
         {kPersonFile, kFamilyFile, kSettingsFile, common::kJournalName}) {
        if (fileExists(folder / name)) {
            return true;
        }
    }
    return false;
}

void deleteFamily(DataFolder& data, int d) {
    if (d < 1 || d > data.reg.familyCount()) {
        return;
    }
    common::FolderTransaction change(data.folder);
    Registers after;
    if (data.reg.familyCount() > 1) {
        FamilyDeletion deletion = prepareFamilyDeletion(data.reg, d, data.familyLimits());
        change.write(kFamilyFile, std::move(deletion.bytes));
        after.persons = std::move(deletion.persons);
        after.families = std::move(deletion.families);
    } else {
        change.remove(kFamilyFile);
        after.persons = data.reg.persons;
        clearDanglingFamilyReferences(after);
    }
    // The persons' family references change with the family register; both files are
    // written together so that they always agree.
    writePersonRegister(change, after.persons);
    change.commit();
    data.reg = std::move(after);
}

} // namespace core
