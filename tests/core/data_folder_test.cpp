#include "core/data_folder.h"

#include "common/file_io.h"
#include "core/backup.h"
#include "core/constants.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using testing_support::TempDir;

const fs::path kSamples = TSUBAKI_SAMPLES_DIR;

core::DataFolder loadCopyOfSamples(const TempDir& dir) {
    for (const auto& e : fs::directory_iterator(kSamples)) {
        fs::copy_file(e.path(), dir.path() / e.path().filename());
    }
    auto env = core::readEnvironment(dir.path() / "KANKYO.TXT");
    return core::DataFolder::load(dir.path(), env, [] { return false; });
}

TEST(SampleData, EveryFileReadsBackAndWritesBackByteIdentical) {
    TempDir dir;
    auto data = loadCopyOfSamples(dir);
    EXPECT_TRUE(data.familyFilePresent);
    EXPECT_TRUE(data.settingsFilePresent);
    EXPECT_GE(data.reg.personCount(), 15);
    EXPECT_LE(data.reg.personCount(), 25);
    data.savePersons();
    data.saveFamilies();
    data.saveSettings();
    core::writeEnvironment(dir.path() / "KANKYO.TXT", data.env);
    for (const auto& e : fs::directory_iterator(kSamples)) {
        EXPECT_EQ(common::readFile(dir.path() / e.path().filename()), common::readFile(e.path()))
            << e.path().filename();
    }
}

TEST(DataFolderLoad, FolderWithoutSettingsUsesFirstUseValues) {
    TempDir dir;
    auto data = loadCopyOfSamples(dir);
    fs::remove(dir.path() / "作図設定.TXT");
    auto reloaded = core::DataFolder::load(dir.path(), data.env, [] { return false; });
    EXPECT_FALSE(reloaded.settingsFilePresent);
    auto expected = core::firstUseSettings(data.reg.familyCount());
    expected.heirFlags.resize(data.reg.persons.size());
    EXPECT_EQ(reloaded.settings, expected);
    EXPECT_EQ(reloaded.settings.リスト３, data.reg.familyCount());
    EXPECT_FALSE(reloaded.hasFamilyWithoutPartners());
}

TEST(DataFolderLoad, EmptyFolderHasNoRegisters) {
    TempDir dir;
    core::Environment env;
    auto data = core::DataFolder::load(dir.path(), env, [] { return false; });
    EXPECT_EQ(data.reg.personCount(), 0);
    EXPECT_EQ(data.reg.familyCount(), 0);
    EXPECT_FALSE(data.familyFilePresent);
}

TEST(DataFolderLoad, AFolderHoldsRegistersByAnyRegisterFileOrAnUnfinishedChange) {
    TempDir dir;
    EXPECT_FALSE(core::holdsRegisters(dir.path()));
    // Files of other kinds, and a BACKUP folder, are no registers.
    dir.write("memo.txt", "x");
    fs::create_directory(dir.path() / "BACKUP");
    EXPECT_FALSE(core::holdsRegisters(dir.path()));
    for (const char* name :
         {"当事者目録.TXT", "家族目録.TXT", "作図設定.TXT", ".tsubaki-journal"}) {
        TempDir one;
        one.write(name, "");
        EXPECT_TRUE(core::holdsRegisters(one.path())) << name;
    }
}

TEST(DataFolderDelete, LastFamilyRemovesTheFileAndItsReferences) {
    TempDir dir;
    auto data = loadCopyOfSamples(dir);
    while (data.reg.familyCount() > 1) {
        core::deleteFamily(data, 1);
        // Every family reference still names an existing family.
        for (const auto& p : data.reg.persons) {
            EXPECT_LE(p.父母家族NO, data.reg.familyCount());
            EXPECT_LE(p.子孫_F, data.reg.familyCount());
            EXPECT_LE(p.子孫_FL, data.reg.familyCount());
        }
        auto reread = core::DataFolder::load(dir.path(), data.env, [] { return false; });
        EXPECT_EQ(reread.reg.families, data.reg.families);
    }
    core::deleteFamily(data, 1);
    EXPECT_FALSE(fs::exists(dir.path() / "家族目録.TXT"));
    EXPECT_EQ(data.reg.familyCount(), 0);
    for (const auto& p : data.reg.persons) {
        EXPECT_EQ(p.父母家族NO, 0);
        EXPECT_EQ(p.子孫_F, 0);
    }
}

TEST(Backup, TimeStampedFolderWithTheRegisterFiles) {
    TempDir dir;
    loadCopyOfSamples(dir);
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 8;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 7;
    EXPECT_EQ(core::backupFolderName(t), "261208_090507");
    core::FolderOptions options;
    options.listChartForm = core::ListChartForm::List;
    core::writeFolderOptions(dir.path(), options);
    auto made = core::データバックアップ_SUB(dir.path(), t);
    ASSERT_TRUE(made);
    EXPECT_EQ(*made, dir.path() / "BACKUP" / "261208_090507");
    for (const char* f : {"当事者目録.TXT", "創始階層登録.TXT", "姓名順.TXT", "家族目録.TXT",
                          "作図設定.TXT", "tsubaki.ini"}) {
        EXPECT_EQ(common::readFile(*made / f), common::readFile(dir.path() / f)) << f;
    }
    EXPECT_FALSE(fs::exists(*made / "KANKYO.TXT"));
    // A second backup in the same second does nothing.
    EXPECT_FALSE(core::データバックアップ_SUB(dir.path(), t));
    // With no register files the folder is made empty.
    TempDir empty;
    t.tm_sec = 8;
    auto none = core::データバックアップ_SUB(empty.path(), t);
    ASSERT_TRUE(none);
    EXPECT_TRUE(fs::is_empty(*none));
}

} // namespace
