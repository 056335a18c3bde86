// GEDCOM import: any bytes are read or refused with common::FileError; when the import finds
// no error, the registers it would write read back (the person register and the family
// register), so that an import never leaves a folder that does not load.
#include "common/file_io.h"
#include "converter/family_register.h"
#include "converter/gedcom_import.h"
#include "converter/person_register.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    converter::GedcomImport imported;
    try {
        imported = converter::importGedcom(std::move(bytes), "in.ged");
    } catch (const common::FileError&) {
        return 0;
    }
    if (!imported.report.errors.empty()) {
        return 0;
    }
    converter::RegisterFiles files;
    try {
        files = converter::registerFiles(imported.registers);
    } catch (const common::FileError&) {
        return 0;
    }
    try {
        const converter::PersonRegister persons =
            converter::parsePersonRegister(files.persons, "当事者目録.TXT");
        fuzz::require(persons.count() == imported.registers.persons.count(),
                      "the person register reads back with every person");
        if (!files.families.empty()) {
            const auto families = converter::parseFamilyRegister(files.families, "家族目録.TXT");
            fuzz::require(families.size() == imported.registers.families.size(),
                          "the family register reads back with every family");
        }
    } catch (const common::FileError&) {
        fuzz::require(false, "the registers an import writes are readable");
    }
    return 0;
}
