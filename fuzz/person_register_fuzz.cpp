// "当事者目録.TXT" with "創始階層登録.TXT" and "姓名順.TXT" (the input's parts, split at NUL
// bytes), through tsubaki's reader and mokuren's: any bytes are read or refused with
// common::FileError; a register tsubaki reads and writes reads back the same.
#include "common/file_io.h"
#include "converter/person_register.h"
#include "core/person_register.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto files = fuzz::parts(data, size, 3);
    try {
        auto persons =
            core::parsePersonRegister(files[0], "当事者目録.TXT", 32767, [] { return true; });
        if (files.size() > 1) {
            core::parseCompanionFile(files[1], "創始階層登録.TXT", persons,
                                     &core::当事者::創始階層);
        }
        if (files.size() > 2) {
            core::parseCompanionFile(files[2], "姓名順.TXT", persons, &core::当事者::姓名順);
        }
        std::string written;
        try {
            written = core::personRegisterBytes(persons);
        } catch (const common::FileError&) {
            written.clear(); // a value that would not read back is refused
        }
        if (!written.empty()) {
            auto again =
                core::parsePersonRegister(written, "当事者目録.TXT", 32767, [] { return true; });
            for (std::size_t i = 0; i < again.size() && i < persons.size(); ++i) {
                again[i].創始階層 = persons[i].創始階層;
                again[i].姓名順 = persons[i].姓名順;
            }
            fuzz::require(again == persons, "tsubaki's person register reads back as written");
        }
    } catch (const common::FileError&) {
    }
    try {
        converter::PersonRegister reg = converter::parsePersonRegister(files[0], "当事者目録.TXT");
        if (files.size() > 2) {
            converter::parseNameOrder(files[2], reg.count());
        }
        std::string written;
        try {
            written = converter::personRegisterBytes(reg);
        } catch (const common::FileError&) {
            written.clear();
        }
        if (!written.empty()) {
            const auto again = converter::parsePersonRegister(written, "当事者目録.TXT");
            fuzz::require(again.persons == reg.persons,
                          "mokuren's person register reads back as written");
        }
    } catch (const common::FileError&) {
    }
    return 0;
}
