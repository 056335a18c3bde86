// mokuren's reader of "家族目録.TXT": any bytes are read (in either layout) or refused with
// common::FileError; a register read and written reads back the same.
#include "common/file_io.h"
#include "converter/family_register.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<converter::家族> families;
    try {
        families = converter::parseFamilyRegister(bytes, "家族目録.TXT");
    } catch (const common::FileError&) {
        return 0;
    }
    std::string written;
    try {
        written = converter::familyRegisterBytes(families);
    } catch (const common::FileError&) {
        return 0;
    }
    try {
        const auto again = converter::parseFamilyRegister(written, "家族目録.TXT");
        fuzz::require(again == families, "the family register reads back as written");
    } catch (const common::FileError&) {
        fuzz::require(false, "a written family register is readable");
    }
    return 0;
}
