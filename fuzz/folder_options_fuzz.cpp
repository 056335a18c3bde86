// "tsubaki.ini": any bytes are read or refused with common::FileError; options read and
// written read back the same, and the lines the program does not know are kept: writing the
// options back and reading that again gives the same text.
#include "common/file_io.h"
#include "core/folder_options.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    core::FolderOptions options;
    try {
        options = core::parseFolderOptions(text, "tsubaki.ini");
    } catch (const common::FileError&) {
        return 0;
    }
    const std::string written = core::folderOptionsText(options);
    try {
        const core::FolderOptions again = core::parseFolderOptions(written, "tsubaki.ini");
        fuzz::require(again == options, "the options read back as written");
        fuzz::require(core::folderOptionsText(again) == written,
                      "options written twice give the same text");
    } catch (const common::FileError&) {
        fuzz::require(false, "written options are readable");
    }
    return 0;
}
