// "tsubaki.ini": the options of a data folder that the fixed register and settings files have
// no place for, in a small UTF-8 INI file beside them (the backup copies it). The register
// and settings files keep their formats byte for byte.
//
//   ; comments start with ";" or "#"
//   [list_chart]
//   form=list        ; 法定相続情報一覧図: "tree" (the family tree, the default) or "list"
//   (列挙形式)
//
// Lines, sections and keys the program does not know are kept as they are when the file is
// written again.
#pragma once

#include "common/register_files.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

using common::kOptionsFile;

// An INI text kept line by line, so that writing it back changes only the values set.
class IniText {
public:
    // Reads UTF-8 text (a byte-order mark is skipped, CR LF or LF). Throws common::FileError
    // naming `fileName` and the line for a line that is neither a section, a key=value pair,
    // a comment nor blank, and for text that is not UTF-8.
    static IniText parse(std::string_view text, const std::string& fileName);

    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    // The line number (from 1) of a key, 0 when absent.
    int lineOf(std::string_view section, std::string_view key) const;
    // Sets a value in place, or adds the key at the end of its section (the section at the
    // end of the text when it is new).
    void set(std::string_view section, std::string_view key, std::string_view value);
    // The text, lines ended by CR LF.
    std::string text() const;

private:
    struct Line {
        std::string raw;
        std::string section; // of the line
        std::string key;     // empty for anything but a key=value line
        std::string value;
    };
    std::vector<Line> lines_;
};

enum class ListChartForm { Tree, List };

struct FolderOptions {
    ListChartForm listChartForm = ListChartForm::Tree; // [list_chart] form
    IniText file;                                      // the file as read

    bool operator==(const FolderOptions& o) const { return listChartForm == o.listChartForm; }
};

// "tree" / "list", and back (nullopt for anything else).
std::string_view listChartFormName(ListChartForm f);
std::optional<ListChartForm> listChartFormFrom(std::string_view name);

// Reads the options of a text. Throws common::FileError naming the file and the line.
FolderOptions parseFolderOptions(std::string_view text, const std::string& fileName);
// The file's text with the options set.
std::string folderOptionsText(const FolderOptions& o);

// Reads `folder`/tsubaki.ini; the defaults when there is none.
FolderOptions readFolderOptions(const std::filesystem::path& folder);
// Replaces `folder`/tsubaki.ini atomically. Throws common::FileError.
void writeFolderOptions(const std::filesystem::path& folder, const FolderOptions& o);

} // namespace core
