// mokuren's multi-file jobs (mask, restore, CSV and GEDCOM import into a folder with a family
// register) with each file operation failed in turn and each job stopped at each operation
// as by a kill: after the recovery the folder reads and holds wholly the old or wholly the new
// files; "当事者目録.TXT" is never missing and never masked beside real settings.
#include "common/folder_transaction.h"
#include "converter/csv_import.h"
#include "converter/gedcom_export.h"
#include "converter/gedcom_import.h"
#include "converter/masking.h"
#include "converter/person_register.h"
#include "tests/support/fault_harness.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <iostream>

namespace fs = std::filesystem;

namespace {

using testing_support::FaultJob;
using testing_support::FaultTally;
using testing_support::FolderSnapshot;

const fs::path kSamples = TSUBAKI_SAMPLES_DIR;

FolderSnapshot samples() {
    FolderSnapshot s;
    for (const auto& e : fs::directory_iterator(kSamples)) {
        s[e.path().filename().string()] = common::readFile(e.path());
    }
    return s;
}

// The folder reads as mokuren reads it; a masked register is never beside real settings.
void reads(const fs::path& folder) {
    converter::readPersonRegister(folder);
    const bool masked = fs::exists(folder / "9_当事者目録.TXT");
    if (fs::exists(folder / "作図設定.TXT")) {
        const std::string settings = common::readFile(folder / "作図設定.TXT");
        converter::maskedSettingsBytes(settings);
        if (masked && converter::maskedSettingsBytes(settings) != settings) {
            throw std::runtime_error("a masked register beside settings with the real names");
        }
    }
}

FaultJob folderJob(std::string name, const fs::path& folder, FolderSnapshot start,
                   std::function<converter::JobOutcome()> run) {
    FaultJob j;
    j.name = std::move(name);
    j.folder = folder;
    j.start = std::move(start);
    j.run = [run] { return run() == converter::JobOutcome::Done; };
    j.loads = [folder] { reads(folder); };
    j.result = [folder] { return testing_support::snapshot(folder); };
    return j;
}

TEST(JobFaults, MaskRestoreAndImportAreWhollyOldOrNew) {
    testing_support::TempDir dir;
    const fs::path folder = dir.path() / "data";
    FaultTally tally;
    long operations = 0;

    auto mask = [&] {
        testing_support::ScriptedDialogs d;
        converter::NameDrawer drawer(7u);
        return converter::maskFolder(folder, d, drawer);
    };
    FaultJob maskJob = folderJob("mask", folder, samples(), mask);
    // At no instant of a kill is the register missing, or masked beside the real settings.
    const std::string realRegister = samples().at("当事者目録.TXT");
    const std::string realSettings = samples().at("作図設定.TXT");
    ASSERT_NE(converter::maskedSettingsBytes(realSettings), realSettings);
    maskJob.atEveryInstant = [&] {
        if (!fs::exists(folder / "当事者目録.TXT")) {
            throw std::runtime_error("当事者目録.TXT is missing");
        }
        if (common::readFile(folder / "当事者目録.TXT") != realRegister &&
            common::readFile(folder / "作図設定.TXT") == realSettings) {
            throw std::runtime_error("a masked register beside settings with the real names");
        }
    };
    operations += testing_support::exerciseJob(maskJob, tally);

    // Restoring starts from the masked folder.
    FolderSnapshot masked;
    {
        testing_support::restoreSnapshot(folder, samples());
        ASSERT_EQ(mask(), converter::JobOutcome::Done);
        masked = testing_support::snapshot(folder);
    }
    operations +=
        testing_support::exerciseJob(folderJob("restore", folder, masked,
                                               [&] {
                                                   testing_support::ScriptedDialogs d;
                                                   return converter::restoreFolder(folder, d);
                                               }),
                                     tally);

    // Importing into the sample folder: its family register and settings move into a
    // backup.
    converter::ImportResult imported;
    imported.persons.resize(3);
    for (int i = 0; i < 3; ++i) {
        imported.persons[static_cast<std::size_t>(i)].当事者NO = i + 1;
        imported.persons[static_cast<std::size_t>(i)].C_当事者NO = i + 1;
        imported.persons[static_cast<std::size_t>(i)].姓 = "新";
    }
    operations += testing_support::exerciseJob(
        folderJob("import", folder, samples(),
                  [&] {
                      testing_support::ScriptedDialogs d;
                      d.answerFile((folder / "当事者目録.TXT").string());
                      d.answerYes();
                      return converter::writeImportedRegister(imported, folder, d);
                  }),
        tally);

    // Importing a GEDCOM file (the samples' own, as exported) into the sample folder: the
    // person register, its companions and the family register replaced in one change, the
    // drawing settings moved into a backup.
    const std::string gedcom = converter::gedcomText(converter::readGedcomSource(kSamples),
                                                     converter::GedcomVersion::V551);
    const converter::GedcomImport fromGedcom = converter::importGedcom(gedcom, "家系.ged");
    ASSERT_TRUE(fromGedcom.report.errors.empty());
    operations += testing_support::exerciseJob(
        folderJob("gedcom-import", folder, samples(),
                  [&] {
                      testing_support::ScriptedDialogs d;
                      d.answerFile((folder / "当事者目録.TXT").string());
                      d.answerYes();
                      return converter::writeGedcomImport(fromGedcom, folder,
                                                          kSamples / "KANKYO.TXT", d);
                  }),
        tally);

    std::cout << "[ tally    ] mokuren jobs: " << tally.jobs << " jobs, " << operations
              << " operations failed one by one, " << tally.stops << " stops, "
              << tally.mixedOrUnreadable << " folders mixed or unreadable\n";
    EXPECT_EQ(tally.mixedOrUnreadable, 0);
    EXPECT_EQ(tally.leftovers, 0);
    EXPECT_EQ(tally.wrongReports, 0);
}

TEST(ImportIntoAFamilyFolder, TheFamilyRegisterAndSettingsMoveIntoABackupAfterTheQuestion) {
    testing_support::TempDir dir;
    testing_support::restoreSnapshot(dir.path(), samples());
    converter::ImportResult imported;
    imported.persons.resize(1);
    imported.persons[0].当事者NO = imported.persons[0].C_当事者NO = 1;

    // No: nothing is written and the dialog comes again; then cancelled.
    testing_support::ScriptedDialogs d;
    d.answerFile((dir.path() / "当事者目録.TXT").string());
    d.answerNo();
    d.answerFile(std::nullopt);
    EXPECT_EQ(converter::writeImportedRegister(imported, dir.path(), d),
              converter::JobOutcome::Cancelled);
    EXPECT_EQ(testing_support::snapshot(dir.path()), samples());
    EXPECT_FALSE(fs::exists(dir.path() / "BACKUP"));
    EXPECT_NE(d.shown.at(1).text.find("家族目録と作図設定は今の当事者目録の人を指している"),
              std::string::npos)
        << d.shown.at(1).text;

    testing_support::ScriptedDialogs yes;
    yes.answerFile((dir.path() / "当事者目録.TXT").string());
    yes.answerYes();
    ASSERT_EQ(converter::writeImportedRegister(imported, dir.path(), yes),
              converter::JobOutcome::Done);
    EXPECT_FALSE(fs::exists(dir.path() / "家族目録.TXT"));
    EXPECT_FALSE(fs::exists(dir.path() / "作図設定.TXT"));
    ASSERT_TRUE(fs::is_directory(dir.path() / "BACKUP"));
    const auto backup = fs::directory_iterator(dir.path() / "BACKUP")->path();
    for (const char* name :
         {"当事者目録.TXT", "創始階層登録.TXT", "姓名順.TXT", "家族目録.TXT", "作図設定.TXT"}) {
        EXPECT_EQ(common::readFile(backup / name), samples().at(name)) << name;
    }
    const auto& moved = yes.shown.back();
    EXPECT_EQ(moved.title, "バックアップへ移しました");
    EXPECT_NE(moved.text.find("「家族目録.TXT」「作図設定.TXT」"), std::string::npos) << moved.text;
    EXPECT_NE(moved.text.find(backup.string()), std::string::npos) << moved.text;
    EXPECT_EQ(converter::readPersonRegister(dir.path()).count(), 1);
}

TEST(BoundedReading, AHugeCountIsRefusedAtOnceNamingTheFileAndLine) {
    testing_support::TempDir dir;
    dir.write("当事者目録.TXT", testing_support::sjisLines(
                                    {"最大当事者数%=, 2147483647 V220", "", "当事者NO%(1)=, 1 "}));
    testing_support::ScriptedDialogs d;
    converter::NameDrawer drawer(1u);
    EXPECT_EQ(converter::maskFolder(dir.path(), d, drawer), converter::JobOutcome::Stopped);
    ASSERT_EQ(d.shown.size(), 1u);
    EXPECT_EQ(d.shown[0].text, "「当事者目録.TXT」の 1 行目を読めません：ファイルが途中で終わって"
                               "います（人数 2147483647 に足りるだけの行がありません）");
    EXPECT_THROW(converter::readPersonRegister(dir.path()), common::FileError);
}

} // namespace
