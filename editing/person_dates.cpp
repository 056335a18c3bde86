#include "editing/person_dates.h"

#include "common/wareki.h"

namespace editing {

namespace {

constexpr std::string_view kKeep = "\nこのまま登録しますか？";

} // namespace

std::vector<std::string> dateDoubts(std::string_view storedBirth, std::string_view storedDeath,
                                    std::string_view birth, std::string_view death) {
    std::vector<std::string> doubts;
    struct Date {
        const char* label;
        std::string_view text;
        bool changed;
        common::WarekiReading read;
    };
    Date dates[] = {
        {"生年月日", birth, birth != storedBirth, {}},
        {"死亡年月日", death, death != storedDeath, {}},
    };
    for (auto& d : dates) {
        if (d.text.empty()) {
            continue;
        }
        d.read = common::readWareki(d.text);
        if (!d.read.ok() && d.changed) {
            doubts.push_back(std::string(d.label) + "「" + std::string(d.text) +
                             "」は日付として読めません（" + d.read.reason + "）。" +
                             std::string(kKeep));
        }
    }
    const auto& [bornAt, diedAt] = dates;
    if ((bornAt.changed || diedAt.changed) && bornAt.read.ok() && diedAt.read.ok() &&
        diedAt.read.date->before(*bornAt.read.date)) {
        doubts.push_back("死亡年月日「" + std::string(death) + "」が生年月日「" +
                         std::string(birth) + "」より前になっています。" + std::string(kKeep));
    }
    return doubts;
}

} // namespace editing
