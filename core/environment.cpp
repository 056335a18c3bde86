#include "core/environment.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/line_forms.h"
#include "common/text.h"

#include <system_error>

namespace core {

std::vector<std::string> defaultHusbandTitles() {
    return {"夫"};
}

std::vector<std::string> defaultWifeTitles() {
    return {"妻", "正室", "側室", "二号", "先妻", "後妻"};
}

namespace {

std::int16_t readKeyedInteger(common::ItemReader& in, bool capacity) {
    in.rawItem(); // the key
    const std::int16_t v = in.integerItem();
    if (capacity && v < 0) {
        in.fail("負の数は使えません");
    }
    return v;
}

std::vector<std::string> readList(common::ItemReader& in) {
    const std::int16_t count = readKeyedInteger(in, true);
    in.requireItems(count, 1, "項目の数");
    std::vector<std::string> list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        list.push_back(in.textItem());
    }
    return list;
}

// A title as the reader takes it back: verbatim, or in double quotes when it holds a
// comma, a colon, a control character or spaces at either end (a title read from a quoted
// item). Throws common::FileError for one that no form reads back (a double quote that
// would open a quoted item, a line break).
std::string titleItem(const char* list, const std::string& title) {
    if (common::readsBackUnquoted(title)) {
        return common::encodeCp932(title);
    }
    if (title.find_first_of("\"\n") != std::string::npos) {
        throw common::FileError("「KANKYO.TXT」に書けない肩書があります（" + std::string(list) +
                                "：" + title + "）：引用符か改行を含みます");
    }
    return "\"" + common::encodeCp932(title) + "\"";
}

} // namespace

Environment parseEnvironment(const std::string& bytes, const std::string& fileName) {
    common::ItemReader in(bytes, fileName);
    Environment env;
    env.Mode = readKeyedInteger(in, false);
    env.最大登録人数 = readKeyedInteger(in, true);
    env.最大婚姻数 = readKeyedInteger(in, true);
    env.一世帯当りの子供の最大数 = readKeyedInteger(in, true);
    env.一人が持てる最大家族数 = readKeyedInteger(in, true);
    env.最大世代数 = readKeyedInteger(in, true);
    env.一般 = readList(in);
    env.息子 = readList(in);
    env.娘 = readList(in);
    if (in.atEnd()) {
        env.夫 = defaultHusbandTitles();
        env.妻 = defaultWifeTitles();
    } else {
        env.夫 = readList(in);
        env.妻 = readList(in);
    }
    return env;
}

Environment readEnvironment(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        const auto where = std::filesystem::absolute(file, ec).parent_path();
        throw common::FileError("環境ファイル「" + common::displayName(file) +
                                "」が見つかりません（探した場所：" + where.string() + "）");
    }
    return parseEnvironment(common::readFile(file), common::displayName(file));
}

std::string environmentBytes(const Environment& env) {
    std::string out;
    auto keyed = [&](const char* key, long value) {
        out += common::encodeCp932(key);
        out += ',';
        out += std::to_string(value);
        out += "\r\n";
    };
    auto list = [&](const char* key, const std::vector<std::string>& items) {
        keyed(key, static_cast<long>(items.size()));
        for (const auto& item : items) {
            out += titleItem(key, item);
            out += "\r\n";
        }
    };
    keyed("Mode", env.Mode);
    keyed("最大登録人数", env.最大登録人数);
    keyed("最大婚姻数", env.最大婚姻数);
    keyed("一世帯当りの子供の最大数", env.一世帯当りの子供の最大数);
    keyed("一人が持てる最大家族数", env.一人が持てる最大家族数);
    keyed("最大世代数", env.最大世代数);
    list("一般", env.一般);
    list("息子", env.息子);
    list("娘", env.娘);
    list("夫", env.夫);
    list("妻", env.妻);
    return out;
}

void writeEnvironment(const std::filesystem::path& file, const Environment& env) {
    common::replaceFile(file, environmentBytes(env));
}

} // namespace core
