#include "converter/family_register.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/line_forms.h"
#include "common/text.h"
#include "converter/files.h"
#include "converter/person_register.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

namespace converter {

namespace {

class FamilyLines {
public:
    explicit FamilyLines(common::ItemReader& in) : in_(in) {}

    long integer() {
        in_.rawItem();
        return in_.longItem();
    }
    std::string text() {
        in_.rawItem();
        return in_.textItem();
    }
    void divorceAndChildren(家族& f) {
        f.離婚_F = integer();
        if (f.離婚_F == 1) {
            f.離婚年月日 = text();
        }
        const long count = integer();
        if (count < 0) {
            in_.fail("子数% が負の値です");
        }
        in_.requireItems(count, 6, "子数%");
        f.子.resize(static_cast<std::size_t>(count));
        for (auto& c : f.子) {
            c.子NO = integer();
            c.子の肩書 = text();
            c.子の形態 = integer();
            if (c.子の形態 == 1) {
                c.縁組日 = text();
            } else if (c.子の形態 == 2) {
                c.認知日 = text();
            }
        }
    }

private:
    common::ItemReader& in_;
};

// The number that starts at `offset` of `line`, as far as it goes.
long leadingNumber(std::string_view line, std::size_t offset) {
    std::size_t i = offset;
    while (i < line.size() && line[i] == ' ') {
        ++i;
    }
    long v = 0;
    bool any = false;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9' && v < 1000000) {
        v = v * 10 + (line[i] - '0');
        any = true;
        ++i;
    }
    return any ? v : 0;
}

} // namespace

std::vector<家族> parseFamilyRegister(std::string bytes, const std::string& fileName) {
    common::ItemReader in(std::move(bytes), fileName);
    FamilyLines r(in);
    const std::string firstKey = in.textItem();
    long first = 0;
    if (!parseLong(in.rawItem(), first)) {
        in.fail("1 行目の数が正しくありません");
    }
    const bool older = firstKey == "最大婚姻数%=";
    const long count = older ? first : r.integer();
    if (count < 0) {
        in.fail("家族の数が負の値です");
    }
    in.requireItems(count, older ? 1 + 2 * 9 : 1 + 2 * 13, "家族の数");
    std::vector<家族> families(static_cast<std::size_t>(count));
    for (auto& f : families) {
        in.rawLine();
        f.夫婦確定_f = r.integer();
        f.婚姻NO = r.integer();
        f.形態 = r.integer();
        f.形態L3 = r.integer();
        f.夫NO = r.integer();
        f.妻NO = r.integer();
        if (older) {
            f.系統_F = r.integer();
            r.divorceAndChildren(f);
            f.夫肩書 = "夫";
            f.妻肩書 = "妻";
        } else {
            f.夫肩書 = r.text();
            f.妻肩書 = r.text();
            f.配偶者非表示_F = r.integer();
            f.配偶者姓F = r.integer();
            f.系統_F = r.integer();
            r.divorceAndChildren(f);
        }
    }
    if (older) {
        const std::string marker = common::encodeCp932("配偶者非表示_F%");
        while (!in.atEnd()) {
            const std::string_view line = in.rawLine();
            if (line.find(marker) != std::string_view::npos) {
                const long n = leadingNumber(line, 16); // after "配偶者非表示_F%("
                if (n >= 1 && n <= count) {
                    families[static_cast<std::size_t>(n - 1)].配偶者非表示_F = 1;
                }
            }
        }
    }
    return families;
}

std::vector<家族> readFamilyRegister(const std::filesystem::path& folder) {
    std::error_code ec;
    if (!std::filesystem::exists(folder / kFamilyFile, ec)) {
        return {};
    }
    return parseFamilyRegister(common::readFile(folder / kFamilyFile), std::string(kFamilyFile));
}

namespace {

// Writes the register's lines straight into Shift-JIS bytes: keys are encoded once, numbers
// are ASCII, and only texts go through the codec. A text that would not read back is handed
// to common::LineWriter, whose refusal names the file and the key.
class FamilyBytes {
public:
    explicit FamilyBytes(std::size_t families) { out_.reserve(families * 480 + 64); }

    void integer(const std::string& key, std::string_view index, long value) {
        out_ += key;
        out_ += index;
        out_ += common::formatInteger(value);
        out_ += "\r\n";
    }
    // `index` in Shift-JIS for the file, `indexUtf8` for a message.
    void text(const std::string& key, std::string_view index, std::string_view keyUtf8,
              std::string_view indexUtf8, const std::string& value) {
        out_ += key;
        out_ += index;
        const bool ascii = std::all_of(value.begin(), value.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        try {
            if (!common::readsBackUnquoted(value)) {
                throw common::Cp932Error("", 0);
            }
            out_ += ascii ? value : common::encodeCp932(value);
        } catch (const common::Cp932Error&) {
            common::LineWriter(std::string(kFamilyFile))
                .text(std::string(keyUtf8) + std::string(indexUtf8), value);
            throw std::logic_error("LineWriter accepted a value it must refuse"); // not reached
        }
        out_ += "\r\n";
    }
    void raw(std::string_view bytes) { out_ += bytes; }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

struct FamilyKey {
    explicit FamilyKey(std::string_view utf8) : utf8(utf8), cp932(common::encodeCp932(utf8)) {}
    std::string_view utf8;
    std::string cp932;
};

} // namespace

std::string familyRegisterBytes(const std::vector<家族>& families) {
    static const FamilyKey confirmed("夫婦確定_f%("), number("婚姻NO%("), form("形態%("),
        formL3("形態L3%("), husband("夫NO%("), wife("妻NO%("), husbandTitle("夫肩書$("),
        wifeTitle("妻肩書$("), hideSpouse("配偶者非表示_F%("), hideSurname("配偶者姓F%("),
        lineage("系統_F%("), divorced("離婚_F%("), divorceDate("離婚年月日$("), children("子数%("),
        child("子NO%("), childTitle("子の肩書$("), childKind("子の形態%("), adopted("縁組日$("),
        acknowledged("認知日$(");
    static const std::string dot = common::encodeCp932("・");
    FamilyBytes out(families.size());
    common::LineWriter head{std::string(kFamilyFile)};
    head.integer("バージョン,", 220);
    head.integer("最大婚姻数%=,", static_cast<long>(families.size()));
    out.raw(head.bytes());
    std::size_t i = 0;
    for (const auto& f : families) {
        ++i;
        const std::string index = std::to_string(i) + ")=,";
        auto integer = [&](const FamilyKey& k, long v) { out.integer(k.cp932, index, v); };
        auto text = [&](const FamilyKey& k, const std::string& v) {
            out.text(k.cp932, index, k.utf8, index, v);
        };
        out.raw("\r\n");
        integer(confirmed, f.夫婦確定_f);
        integer(number, f.婚姻NO);
        integer(form, f.形態);
        integer(formL3, f.形態L3);
        integer(husband, f.夫NO);
        integer(wife, f.妻NO);
        text(husbandTitle, f.夫肩書);
        text(wifeTitle, f.妻肩書);
        integer(hideSpouse, f.配偶者非表示_F);
        integer(hideSurname, f.配偶者姓F);
        integer(lineage, f.系統_F);
        integer(divorced, f.離婚_F);
        if (f.離婚_F == 1) {
            text(divorceDate, f.離婚年月日);
        }
        integer(children, static_cast<long>(f.子.size()));
        std::size_t j = 0;
        for (const auto& c : f.子) {
            ++j;
            // The child's place first, then "・" and the family: 子NO%(1・3)=,
            const std::string place = std::to_string(j);
            const std::string childIndex = place + dot + index;
            const std::string childIndexUtf8 = place + "・" + index;
            auto childText = [&](const FamilyKey& k, const std::string& v) {
                out.text(k.cp932, childIndex, k.utf8, childIndexUtf8, v);
            };
            out.integer(child.cp932, childIndex, c.子NO);
            childText(childTitle, c.子の肩書);
            out.integer(childKind.cp932, childIndex, c.子の形態);
            if (c.子の形態 == 1) {
                childText(adopted, c.縁組日);
            } else if (c.子の形態 == 2) {
                childText(acknowledged, c.認知日);
            }
        }
    }
    return out.take();
}

} // namespace converter
