#include "core/person_register.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/folder_transaction.h"
#include "common/line_forms.h"
#include "common/text.h"
#include "core/constants.h"

#include <string>

namespace core {

bool PersonRegisterLayout::isOld() const {
    return !hasVersion || version < current_person_register_version;
}

namespace {

std::string numbered(const char* key, int i) {
    return std::string(key) + std::to_string(i) + ")=,";
}

// A text value of the person register: full-width conversion on the raw bytes.
std::string fullWidthText(common::ItemReader& in) {
    const std::string_view raw = in.rawItem();
    try {
        return common::needsFullWidth(raw) ? common::decodeCp932(common::toFullWidthBytes(raw))
                                           : common::decodeCp932(raw);
    } catch (const common::Cp932Error&) {
        in.fail("Shift-JISとして読めない文字があります");
    }
}

std::int16_t keyedInteger(common::ItemReader& in) {
    in.rawItem();
    return in.integerItem();
}

std::string keyedText(common::ItemReader& in) {
    in.rawItem();
    return fullWidthText(in);
}

void checkPersonReference(common::ItemReader& in, std::int16_t value, int count, bool allowZero,
                          const char* field) {
    if (value < (allowZero ? 0 : 1) || value > count) {
        in.fail(std::string(field) + " の値" + common::formatInteger(value) +
                "は当事者番号として正しくありません（当事者は " + std::to_string(count) + " 人）");
    }
}

} // namespace

std::vector<当事者> parsePersonRegister(const std::string& bytes, const std::string& fileName,
                                        int capacity, const OldVersionQuestion& ask,
                                        PersonRegisterLayout* layoutOut) {
    common::ItemReader in(bytes, fileName);
    in.rawItem(); // "最大当事者数%="
    const std::string head(in.rawItem());
    PersonRegisterLayout layout;
    std::string countText = head;
    const auto v = head.find('V');
    if (v != std::string::npos) {
        countText = head.substr(0, v);
        layout.hasVersion = true;
        std::int16_t version = 0;
        if (!common::parseInteger16(head.substr(v + 1), version)) {
            in.fail("1 行目の版「" + head.substr(v) + "」が読めません");
        }
        layout.version = version;
    }
    std::int16_t count = 0;
    if (!common::parseInteger16(countText, count) || count < 0) {
        throw common::FileError("「" + fileName + "」の 1 行目を読めません：人数「" + countText +
                                "」が正しくありません");
    }
    if (count > capacity) {
        throw common::FileError("「" + fileName + "」の 1 行目を読めません：人数 " +
                                std::to_string(count) + " が KANKYO.TXT の最大登録人数（" +
                                std::to_string(capacity) + "）を超えています");
    }
    const bool second = layout.hasVersion;                         // 住所2$ and 本籍2$
    const bool links = layout.hasVersion && layout.version >= 200; // the last three fields
    // An empty line and a key and a value for each field.
    in.requireItems(count, 1 + 2 * (14 + (second ? 2 : 0) + (links ? 3 : 0)), "人数");
    if (layout.isOld() && !ask()) {
        throw OldVersionDeclined();
    }

    std::vector<当事者> persons(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        当事者& p = persons[static_cast<std::size_t>(i - 1)];
        in.rawLine(); // the empty line before each record
        p.当事者NO = keyedInteger(in);
        p.実父NO = keyedInteger(in);
        checkPersonReference(in, p.実父NO, count, true, "実父NO%");
        p.実母NO = keyedInteger(in);
        checkPersonReference(in, p.実母NO, count, true, "実母NO%");
        p.父母家族NO = keyedInteger(in);
        p.子孫_F = keyedInteger(in);
        p.男女 = keyedInteger(in);
        p.姓 = keyedText(in);
        p.名 = keyedText(in);
        p.住所1 = keyedText(in);
        if (second) {
            p.住所2 = keyedText(in);
        }
        p.本籍1 = keyedText(in);
        if (second) {
            p.本籍2 = keyedText(in);
        }
        p.生年月日 = keyedText(in);
        p.死亡年月日 = keyedText(in);
        p.備考1 = keyedText(in);
        p.備考2 = keyedText(in);
        if (links) {
            p.C_当事者NO = keyedInteger(in);
            checkPersonReference(in, p.C_当事者NO, count, false, "C_当事者NO%");
            p.子孫_FL = keyedInteger(in);
            p.当姓 = keyedInteger(in);
        } else {
            p.C_当事者NO = static_cast<std::int16_t>(i);
            p.子孫_FL = 0;
            p.当姓 = 0;
        }
    }
    if (layoutOut != nullptr) {
        *layoutOut = layout;
    }
    return persons;
}

std::vector<当事者> readPersonRegister(const std::filesystem::path& folder, int capacity,
                                       const OldVersionQuestion& ask,
                                       PersonRegisterLayout* layout) {
    const auto file = folder / kPersonFile;
    auto persons = parsePersonRegister(common::readFile(file), std::string(kPersonFile), capacity,
                                       ask, layout);
    readCompanionFiles(folder, persons);
    return persons;
}

void parseCompanionFile(const std::string& bytes, std::string_view name,
                        std::vector<当事者>& persons, std::int16_t 当事者::*field) {
    common::ItemReader in(bytes, std::string(name));
    in.requireItems(static_cast<long long>(persons.size()), 2, "当事者の数");
    std::vector<std::int16_t> values;
    values.reserve(persons.size());
    for (std::size_t i = 0; i < persons.size(); ++i) {
        values.push_back(keyedInteger(in));
    }
    for (std::size_t i = 0; i < persons.size(); ++i) {
        persons[i].*field = values[i];
    }
}

void readCompanionFiles(const std::filesystem::path& folder, std::vector<当事者>& persons) {
    auto readOne = [&](std::string_view name, std::int16_t 当事者::*field) {
        const auto file = folder / name;
        std::error_code ec;
        if (std::filesystem::exists(file, ec)) {
            parseCompanionFile(common::readFile(file), name, persons, field);
        }
    };
    readOne(kFounderFile, &当事者::創始階層);
    readOne(kNameOrderFile, &当事者::姓名順);
}

std::string personRegisterBytes(const std::vector<当事者>& persons) {
    common::LineWriter out{std::string(kPersonFile)};
    out.line("最大当事者数%=," + common::formatInteger(static_cast<long>(persons.size())) +
             std::string(version_text));
    int i = 0;
    for (const auto& p : persons) {
        ++i;
        out.line("");
        out.integer(numbered("当事者NO%(", i), p.当事者NO);
        out.integer(numbered("実父NO%(", i), p.実父NO);
        out.integer(numbered("実母NO%(", i), p.実母NO);
        out.integer(numbered("父母家族NO%(", i), p.父母家族NO);
        out.integer(numbered("子孫_F%(", i), p.子孫_F);
        out.integer(numbered("男女%(", i), p.男女);
        out.text(numbered("姓$(", i), p.姓);
        out.text(numbered("名$(", i), p.名);
        out.text(numbered("住所1$(", i), p.住所1);
        out.text(numbered("住所2$(", i), p.住所2);
        out.text(numbered("本籍1$(", i), p.本籍1);
        out.text(numbered("本籍2$(", i), p.本籍2);
        out.text(numbered("生年月日$(", i), p.生年月日);
        out.text(numbered("死亡年月日$(", i), p.死亡年月日);
        out.text(numbered("備考1$(", i), p.備考1);
        out.text(numbered("備考2$(", i), p.備考2);
        out.integer(numbered("C_当事者NO%(", i), p.C_当事者NO);
        out.integer(numbered("子孫_FL%(", i), p.子孫_FL);
        out.integer(numbered("当姓%(", i), p.当姓);
    }
    return out.take();
}

namespace {

std::string companionBytes(const std::vector<当事者>& persons, std::string_view name,
                           std::int16_t 当事者::*field) {
    common::LineWriter out{std::string(name)};
    int i = 0;
    for (const auto& p : persons) {
        ++i;
        out.integer(numbered("当事者NO%(", i), p.*field);
    }
    return out.take();
}

} // namespace

std::string founderFileBytes(const std::vector<当事者>& persons) {
    return companionBytes(persons, kFounderFile, &当事者::創始階層);
}

std::string nameOrderFileBytes(const std::vector<当事者>& persons) {
    return companionBytes(persons, kNameOrderFile, &当事者::姓名順);
}

void writePersonRegister(common::FolderTransaction& change, const std::vector<当事者>& persons) {
    // Every file is built before the first one is added, so a value that cannot be
    // written adds none.
    std::string main = personRegisterBytes(persons);
    std::string founder = founderFileBytes(persons);
    std::string order = nameOrderFileBytes(persons);
    change.write(kPersonFile, std::move(main));
    change.write(kFounderFile, std::move(founder));
    change.write(kNameOrderFile, std::move(order));
}

void 当事者目録_W_SUB(const std::filesystem::path& folder, const std::vector<当事者>& persons) {
    common::FolderTransaction change(folder);
    writePersonRegister(change, persons);
    change.commit();
}

} // namespace core
