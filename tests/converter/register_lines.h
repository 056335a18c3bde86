// Person registers for the converter tests, as UTF-8 lines in the file layout.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace converter_test {

struct Row {
    Row(int sex, std::string 姓 = "", std::string 名 = "", std::string 住所1 = "",
        std::string 住所2 = "", std::string 本籍1 = "", std::string 本籍2 = "",
        std::string 生年月日 = "", std::string 死亡年月日 = "", std::string 備考1 = "",
        std::string 備考2 = "")
        : sex(sex), 姓(std::move(姓)), 名(std::move(名)), 住所1(std::move(住所1)),
          住所2(std::move(住所2)), 本籍1(std::move(本籍1)), 本籍2(std::move(本籍2)),
          生年月日(std::move(生年月日)), 死亡年月日(std::move(死亡年月日)), 備考1(std::move(備考1)),
          備考2(std::move(備考2)) {}
    int sex;
    std::string 姓, 名, 住所1, 住所2, 本籍1, 本籍2, 生年月日, 死亡年月日, 備考1, 備考2;
};

// "current" (V220 or another version), "old" (no tag): the lines of a register.
inline std::vector<std::string> registerLines(const std::vector<Row>& rows,
                                              const std::string& tag = "V220") {
    const bool current = !tag.empty();
    const bool links = current && std::stoi(tag.substr(1)) >= 200;
    std::vector<std::string> l;
    l.push_back("最大当事者数%=, " + std::to_string(rows.size()) + " " + tag);
    int i = 0;
    for (const auto& r : rows) {
        const std::string n = std::to_string(++i);
        auto integer = [&](const char* key, long v) {
            l.push_back(std::string(key) + n + ")=, " + std::to_string(v) + " ");
        };
        auto text = [&](const char* key, const std::string& v) {
            l.push_back(std::string(key) + n + ")=," + v);
        };
        l.push_back("");
        integer("当事者NO%(", i);
        integer("実父NO%(", 0);
        integer("実母NO%(", 0);
        integer("父母家族NO%(", 0);
        integer("子孫_F%(", 0);
        integer("男女%(", r.sex);
        text("姓$(", r.姓);
        text("名$(", r.名);
        text(current ? "住所1$(" : "住所$(", r.住所1);
        if (current) {
            text("住所2$(", r.住所2);
        }
        text(current ? "本籍1$(" : "本籍$(", r.本籍1);
        if (current) {
            text("本籍2$(", r.本籍2);
        }
        text("生年月日$(", r.生年月日);
        text("死亡年月日$(", r.死亡年月日);
        text("備考1$(", r.備考1);
        text("備考2$(", r.備考2);
        if (links) {
            integer("C_当事者NO%(", i);
            integer("子孫_FL%(", 0);
            integer("当姓%(", 0);
        }
    }
    return l;
}

} // namespace converter_test
