#include "converter/capacities.h"

#include "common/file_io.h"
#include "common/line_forms.h"

#include <system_error>

namespace converter {

Capacities parseCapacities(std::string bytes, const std::string& fileName) {
    common::ItemReader in(std::move(bytes), fileName);
    auto keyed = [&](bool capacity) -> long {
        in.rawItem(); // the key
        const long v = in.integerItem();
        if (capacity && v < 0) {
            in.fail("負の数は使えません");
        }
        return v;
    };
    Capacities c;
    keyed(false); // Mode
    c.最大登録人数 = keyed(true);
    c.最大婚姻数 = keyed(true);
    c.一世帯当りの子供の最大数 = keyed(true);
    return c;
}

Capacities findCapacities(const std::vector<std::filesystem::path>& places) {
    for (const auto& file : places) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec)) {
            Capacities c = parseCapacities(common::readFile(file), common::displayName(file));
            c.source = file;
            return c;
        }
    }
    return {};
}

} // namespace converter
