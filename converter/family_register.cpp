#include "converter/family_register.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/line_forms.h"
#include "converter/files.h"
#include "converter/person_register.h"

#include <system_error>

namespace converter {

namespace {

class FamilyLines {
public:
    explicit FamilyLines(common::ItemReader& in) : in_(in) {}

    long integer() {
        in_.rawItem();
        const std::string_view raw = in_.rawItem();
        long v = 0;
        if (!parseLong(raw, v)) {
            std::string shown;
            try {
                shown = common::decodeCp932(raw);
            } catch (const common::Cp932Error&) {
                shown = "?";
            }
            in_.fail("整数が入るところに「" + shown + "」があります");
        }
        return v;
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

std::string numbered(std::string_view key, std::size_t i) {
    return std::string(key) + std::to_string(i) + ")=,";
}

std::string childKey(std::string_view key, std::size_t j, std::size_t i) {
    return std::string(key) + std::to_string(j) + "・" + std::to_string(i) + ")=,";
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

std::string familyRegisterBytes(const std::vector<家族>& families) {
    common::LineWriter out{std::string(kFamilyFile)};
    out.integer("バージョン,", 220);
    out.integer("最大婚姻数%=,", static_cast<long>(families.size()));
    std::size_t i = 0;
    for (const auto& f : families) {
        ++i;
        out.line("");
        out.integer(numbered("夫婦確定_f%(", i), f.夫婦確定_f);
        out.integer(numbered("婚姻NO%(", i), f.婚姻NO);
        out.integer(numbered("形態%(", i), f.形態);
        out.integer(numbered("形態L3%(", i), f.形態L3);
        out.integer(numbered("夫NO%(", i), f.夫NO);
        out.integer(numbered("妻NO%(", i), f.妻NO);
        out.text(numbered("夫肩書$(", i), f.夫肩書);
        out.text(numbered("妻肩書$(", i), f.妻肩書);
        out.integer(numbered("配偶者非表示_F%(", i), f.配偶者非表示_F);
        out.integer(numbered("配偶者姓F%(", i), f.配偶者姓F);
        out.integer(numbered("系統_F%(", i), f.系統_F);
        out.integer(numbered("離婚_F%(", i), f.離婚_F);
        if (f.離婚_F == 1) {
            out.text(numbered("離婚年月日$(", i), f.離婚年月日);
        }
        out.integer(numbered("子数%(", i), static_cast<long>(f.子.size()));
        std::size_t j = 0;
        for (const auto& c : f.子) {
            ++j;
            out.integer(childKey("子NO%(", j, i), c.子NO);
            out.text(childKey("子の肩書$(", j, i), c.子の肩書);
            out.integer(childKey("子の形態%(", j, i), c.子の形態);
            if (c.子の形態 == 1) {
                out.text(childKey("縁組日$(", j, i), c.縁組日);
            } else if (c.子の形態 == 2) {
                out.text(childKey("認知日$(", j, i), c.認知日);
            }
        }
    }
    return out.take();
}

} // namespace converter
