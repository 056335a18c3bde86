// "tsubaki.ini": the list chart's form read and written, what the program does not know kept
// as it was, and damaged files refused with the line named.
#include "core/data_folder.h"
#include "core/folder_options.h"

#include "common/file_io.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace {

using core::ListChartForm;

TEST(FolderOptions, TheFormAndEverythingElseKept) {
    const std::string text = "\xEF\xBB\xBF; 手で書いた注記\n"
                             "[pdf]\n"
                             "paper = A4\n"
                             "\n"
                             "[list_chart]\n"
                             "  form = list  \n"
                             "other=値\n";
    core::FolderOptions o = core::parseFolderOptions(text, "tsubaki.ini");
    EXPECT_EQ(o.listChartForm, ListChartForm::List);
    EXPECT_EQ(o.file.get("pdf", "paper"), "A4");
    o.listChartForm = ListChartForm::Tree;
    EXPECT_EQ(core::folderOptionsText(o), "; 手で書いた注記\r\n[pdf]\r\npaper = A4\r\n\r\n"
                                          "[list_chart]\r\nform=tree\r\nother=値\r\n");
}

TEST(FolderOptions, WrittenOnlyWhenThereIsSomethingToKeep) {
    core::FolderOptions o;
    EXPECT_EQ(core::folderOptionsText(o), "");
    o = core::parseFolderOptions("[pdf]\r\npaper=A4\r\n", "tsubaki.ini");
    o.listChartForm = ListChartForm::List;
    EXPECT_EQ(core::folderOptionsText(o), "[pdf]\r\npaper=A4\r\n\r\n[list_chart]\r\nform=list\r\n");
    EXPECT_EQ(core::parseFolderOptions(core::folderOptionsText(o), "tsubaki.ini"), o);
}

TEST(FolderOptions, DamagedFilesAreRefusedNamingTheLine) {
    const std::pair<const char*, const char*> bad[] = {
        {"[list_chart]\nform=circle\n", "2 行目"},
        {"[list_chart\nform=list\n", "1 行目"},
        {"\n\nform list\n", "3 行目"},
        {"[list_chart]\nform=\xff\n", "2 行目"},
    };
    for (const auto& [text, line] : bad) {
        try {
            core::parseFolderOptions(text, "tsubaki.ini");
            ADD_FAILURE() << text;
        } catch (const common::FileError& e) {
            EXPECT_NE(std::string(e.what()).find(line), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("tsubaki.ini"), std::string::npos);
        }
    }
}

TEST(FolderOptions, KeptInTheDataFolder) {
    testing_support::TempDir dir;
    EXPECT_EQ(core::readFolderOptions(dir.path()).listChartForm, ListChartForm::Tree);
    core::FolderOptions o;
    o.listChartForm = ListChartForm::List;
    core::writeFolderOptions(dir.path(), o);
    EXPECT_EQ(common::readFile(dir.path() / "tsubaki.ini"), "[list_chart]\r\nform=list\r\n");
    EXPECT_EQ(core::readFolderOptions(dir.path()).listChartForm, ListChartForm::List);
}

} // namespace
