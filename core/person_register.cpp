#include "core/person_register.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/folder_transaction.h"
#include "common/line_forms.h"
#include "common/person_fields.h"
#include "common/text.h"
#include "core/constants.h"

#include <string>
#include <type_traits>

namespace core {

bool PersonRegisterLayout::isOld() const {
    return !hasVersion || version < current_person_register_version;
}

namespace {

using common::PersonRegisterGeneration;

// The fields of a record, in file order.
constexpr const auto& kFields = common::kPersonFields<当事者>;
using PersonField = std::remove_cvref_t<decltype(kFields[0])>;

std::string numbered(std::string_view key, int i) {
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

// The person references of a record are checked as soon as they are read, so that a
// refusal names their line: 実父NO% and 実母NO% (0 for none) and C_当事者NO%.
void checkPersonReference(common::ItemReader& in, const PersonField& field, std::int16_t value,
                          int count) {
    const bool parent = field.integer == &当事者::実父NO || field.integer == &当事者::実母NO;
    if (!parent && field.integer != &当事者::C_当事者NO) {
        return;
    }
    if (value < (parent ? 0 : 1) || value > count) {
        const std::string_view key = field.key.substr(0, field.key.size() - 1); // without "("
        in.fail(std::string(key) + " の値" + common::formatInteger(value) +
                "は当事者番号として正しくありません（当事者は " + std::to_string(count) + " 人）");
    }
}

// One record of `generation`, after its empty line; the link fields of a register without
// them make the person its own link source.
void readRecord(common::ItemReader& in, PersonRegisterGeneration generation, int i, int count,
                当事者& p) {
    in.rawLine(); // the empty line before each record
    for (const PersonField& field : kFields) {
        if (!field.in(generation)) {
            continue;
        }
        if (field.kind == common::PersonFieldKind::Text) {
            p.*field.text = keyedText(in);
        } else {
            p.*field.integer = keyedInteger(in);
            checkPersonReference(in, field, p.*field.integer, count);
        }
    }
    if (generation != PersonRegisterGeneration::Linked) {
        p.C_当事者NO = static_cast<std::int16_t>(i);
        p.子孫_FL = 0;
        p.当姓 = 0;
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
    const auto generation = common::personRegisterGeneration(layout.hasVersion, layout.version);
    // An empty line and a key and a value for each field.
    in.requireItems(count, 1 + 2 * common::personFieldCount<当事者>(generation), "人数");
    if (layout.isOld() && !ask()) {
        throw OldVersionDeclined();
    }

    std::vector<当事者> persons(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        readRecord(in, generation, i, count, persons[static_cast<std::size_t>(i - 1)]);
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
        for (const PersonField& field : kFields) {
            const std::string key = numbered(field.key, i);
            if (field.kind == common::PersonFieldKind::Text) {
                out.text(key, p.*field.text);
            } else {
                out.integer(key, p.*field.integer);
            }
        }
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
