// CSV import: any bytes are decoded (UTF-8 or Shift-JIS) and split, or refused with
// common::FileError; the persons built from every column are written as a register or
// refused with common::FileError.
#include "common/file_io.h"
#include "converter/csv_import.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const converter::CsvTable table =
            converter::parseCsv(converter::decodeCsvBytes(bytes, "in.csv"), "in.csv");
        converter::ImportChoices c;
        c.sex = true;
        c.address = c.address2 = c.domicile = c.birth = c.death = c.note = true;
        const auto chart = converter::registrationChart(c);
        std::vector<int> order;
        for (int k = 0; k < table.columns() && k < static_cast<int>(chart.items.size()); ++k) {
            order.push_back(k);
        }
        const auto result =
            converter::importPersons(table, chart, order, c, size % 2 == 0, {"山田", "佐々木"});
        (void)converter::personRegisterBytes(converter::currentRegister(result.persons));
    } catch (const common::FileError&) {
    }
    return 0;
}
