#include "core/family_register.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/line_forms.h"
#include "core/constants.h"

namespace core {

namespace {

std::string numbered(const char* key, int i) {
    return std::string(key) + std::to_string(i) + ")=,";
}

std::string childKey(const char* key, int j, int i) {
    return std::string(key) + std::to_string(j) + "・" + std::to_string(i) + ")=,";
}

class FamilyReader {
public:
    FamilyReader(common::ItemReader& in, const FamilyLimits& limits) : in_(in), limits_(limits) {}

    std::int16_t integer() {
        in_.rawItem();
        return in_.integerItem();
    }
    std::string text() {
        in_.rawItem();
        return in_.textItem();
    }
    std::int16_t person(const char* field, bool allowZero) {
        const std::int16_t v = integer();
        if (v < (allowZero ? 0 : 1) || v > limits_.personCount) {
            in_.fail(std::string(field) + " の値" + common::formatInteger(v) +
                     "は当事者番号として正しくありません（当事者は " +
                     std::to_string(limits_.personCount) + " 人）");
        }
        return v;
    }

    // Reads the children of family i, after its 子数 line.
    void children(家族& f, std::int16_t count) {
        if (count < 0) {
            in_.fail("子数% が負の値です");
        }
        if (count > limits_.一世帯当りの子供の最大数) {
            in_.fail("子供の数 " + std::to_string(count) +
                     " が KANKYO.TXT の一世帯当りの子供の最大数（" +
                     std::to_string(limits_.一世帯当りの子供の最大数) + "）を超えています");
        }
        in_.requireItems(count, 6, "子数%"); // 子NO, 子の肩書 and 子の形態, each a key and value
        f.子.resize(static_cast<std::size_t>(count));
        for (auto& c : f.子) {
            c.子NO = person("子NO%", false);
            c.子の肩書 = text();
            c.子の形態 = static_cast<ChildKind>(integer());
            if (c.子の形態 == ChildKind::Adopted) {
                c.縁組日 = text();
            } else if (c.子の形態 == ChildKind::Acknowledged) {
                c.認知日 = text();
            }
        }
    }

    void divorceAndChildren(家族& f) {
        f.離婚_F = integer();
        if (f.離婚_F == 1) {
            f.離婚年月日 = text();
        }
        children(f, integer());
    }

private:
    common::ItemReader& in_;
    const FamilyLimits& limits_;
};

// Value of the number that starts at `offset` of `line`, read as far as it goes.
int leadingNumber(const std::string& line, std::size_t offset) {
    std::size_t i = offset;
    while (i < line.size() && line[i] == ' ') {
        ++i;
    }
    int v = 0;
    bool any = false;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9' && v < 100000) {
        v = v * 10 + (line[i] - '0');
        any = true;
        ++i;
    }
    return any ? v : 0;
}

} // namespace

std::vector<家族> parseFamilyRegister(const std::string& bytes, const std::string& fileName,
                                      const FamilyLimits& limits, bool allowOlderLayout,
                                      bool* olderLayoutOut) {
    common::ItemReader in(bytes, fileName);
    FamilyReader r(in, limits);
    const std::string firstKey = in.textItem();
    std::int16_t first = in.integerItem();
    const bool older = firstKey == "最大婚姻数%=";
    if (older && !allowOlderLayout) {
        in.fail("版の行がありません");
    }
    std::int16_t count = first;
    if (!older) {
        count = r.integer();
    }
    if (count < 0) {
        in.fail("家族の数が負の値です");
    }
    if (count > limits.最大婚姻数) {
        in.fail("家族の数 " + std::to_string(count) + " が KANKYO.TXT の最大婚姻数（" +
                std::to_string(limits.最大婚姻数) + "）を超えています");
    }
    // An empty line and a key and a value for each field of the shortest record.
    in.requireItems(count, older ? 1 + 2 * 9 : 1 + 2 * 13, "家族の数");
    std::vector<家族> families(static_cast<std::size_t>(count));
    for (auto& f : families) {
        in.rawLine();
        f.夫婦確定_f = r.integer();
        f.婚姻NO = r.integer();
        f.形態 = static_cast<UnionForm>(r.integer());
        f.形態L3 = static_cast<UnionForm>(r.integer());
        f.夫NO = r.person("夫NO%", true);
        f.妻NO = r.person("妻NO%", true);
        if (older) {
            f.系統_F = static_cast<Lineage>(r.integer());
            r.divorceAndChildren(f);
            f.夫肩書 = "夫";
            f.妻肩書 = "妻";
            f.配偶者姓F = 0;
        } else {
            f.夫肩書 = r.text();
            f.妻肩書 = r.text();
            f.配偶者非表示_F = r.integer();
            f.配偶者姓F = r.integer();
            f.系統_F = static_cast<Lineage>(r.integer());
            r.divorceAndChildren(f);
        }
    }
    if (older) {
        const std::string marker = common::encodeCp932("配偶者非表示_F%");
        while (!in.atEnd()) {
            const std::string line(in.rawLine());
            if (line.find(marker) != std::string::npos) {
                // The family number follows the 16 bytes of "配偶者非表示_F%(".
                const int n = leadingNumber(line, 16);
                if (n >= 1 && n <= count) {
                    families[static_cast<std::size_t>(n - 1)].配偶者非表示_F = 1;
                }
            }
        }
    }
    if (olderLayoutOut != nullptr) {
        *olderLayoutOut = older;
    }
    return families;
}

std::vector<家族> readFamilyRegister(const std::filesystem::path& folder,
                                     const FamilyLimits& limits, bool allowOlderLayout,
                                     bool* olderLayout) {
    return parseFamilyRegister(common::readFile(folder / kFamilyFile), std::string(kFamilyFile),
                               limits, allowOlderLayout, olderLayout);
}

namespace {

void writeFamily(common::LineWriter& out, const 家族& f, int i, std::int16_t number) {
    out.line("");
    out.integer(numbered("夫婦確定_f%(", i), f.夫婦確定_f);
    out.integer(numbered("婚姻NO%(", i), number);
    out.integer(numbered("形態%(", i), fileValue(f.形態));
    out.integer(numbered("形態L3%(", i), fileValue(f.形態L3));
    out.integer(numbered("夫NO%(", i), f.夫NO);
    out.integer(numbered("妻NO%(", i), f.妻NO);
    out.text(numbered("夫肩書$(", i), f.夫肩書);
    out.text(numbered("妻肩書$(", i), f.妻肩書);
    out.integer(numbered("配偶者非表示_F%(", i), f.配偶者非表示_F);
    out.integer(numbered("配偶者姓F%(", i), f.配偶者姓F);
    out.integer(numbered("系統_F%(", i), fileValue(f.系統_F));
    out.integer(numbered("離婚_F%(", i), f.離婚_F);
    if (f.離婚_F == 1) {
        out.text(numbered("離婚年月日$(", i), f.離婚年月日);
    }
    out.integer(numbered("子数%(", i), f.子数());
    int j = 0;
    for (const auto& c : f.子) {
        ++j;
        out.integer(childKey("子NO%(", j, i), c.子NO);
        out.text(childKey("子の肩書$(", j, i), c.子の肩書);
        out.integer(childKey("子の形態%(", j, i), fileValue(c.子の形態));
        if (c.子の形態 == ChildKind::Adopted) {
            out.text(childKey("縁組日$(", j, i), c.縁組日);
        } else if (c.子の形態 == ChildKind::Acknowledged) {
            out.text(childKey("認知日$(", j, i), c.認知日);
        }
    }
}

void writeHeader(common::LineWriter& out, long count) {
    out.integer("バージョン,", written_register_version);
    out.integer("最大婚姻数%=,", count);
}

} // namespace

std::string familyRegisterBytes(const std::vector<家族>& families) {
    common::LineWriter out{std::string(kFamilyFile)};
    writeHeader(out, static_cast<long>(families.size()));
    int i = 0;
    for (const auto& f : families) {
        ++i;
        writeFamily(out, f, i, f.婚姻NO);
    }
    return out.take();
}

void 家族目録_W_SUB(const std::filesystem::path& folder, const std::vector<家族>& families) {
    common::replaceFile(folder / kFamilyFile, familyRegisterBytes(families));
}

std::string familyRegisterBytesWithout(const std::vector<家族>& families, int d,
                                       std::vector<int>* renumberOut) {
    const int n = static_cast<int>(families.size());
    std::vector<int> renumber(static_cast<std::size_t>(n + 1), 0);
    int counter = 0;
    for (int i = 1; i <= n; ++i) {
        if (i != d) {
            ++counter;
            renumber[static_cast<std::size_t>(i)] = counter;
        }
    }
    common::LineWriter out{std::string(kFamilyFile)};
    writeHeader(out, n - 1);
    for (int i = 1; i <= n; ++i) {
        if (i == d) {
            continue;
        }
        const 家族& f = families[static_cast<std::size_t>(i - 1)];
        // The record keeps its old index in the keys; 婚姻NO takes the new number's value.
        const int newNumber = renumber[static_cast<std::size_t>(i)];
        writeFamily(out, f, i, families[static_cast<std::size_t>(newNumber - 1)].婚姻NO);
    }
    if (renumberOut != nullptr) {
        *renumberOut = std::move(renumber);
    }
    return out.take();
}

FamilyDeletion prepareFamilyDeletion(const Registers& reg, int d, const FamilyLimits& limits) {
    FamilyDeletion out;
    std::vector<int> renumber;
    out.bytes = familyRegisterBytesWithout(reg.families, d, &renumber);
    // The families in memory become exactly what the reload reader makes of the file;
    // parsing before the file is replaced means a failure changes nothing.
    out.families = parseFamilyRegister(out.bytes, std::string(kFamilyFile), limits, false);
    out.persons = reg.persons;
    auto map = [&](std::int16_t& family) {
        if (family > 0 && static_cast<std::size_t>(family) < renumber.size()) {
            family = static_cast<std::int16_t>(renumber[static_cast<std::size_t>(family)]);
        }
    };
    for (auto& p : out.persons) {
        map(p.父母家族NO);
        map(p.子孫_F);
        map(p.子孫_FL); // a stale family number here would point at the wrong family
    }
    return out;
}

void 家族目録_SW_SUB(const std::filesystem::path& folder, Registers& reg, int d,
                     const FamilyLimits& limits) {
    FamilyDeletion deletion = prepareFamilyDeletion(reg, d, limits);
    common::replaceFile(folder / kFamilyFile, deletion.bytes);
    reg.persons = std::move(deletion.persons);
    reg.families = std::move(deletion.families);
}

} // namespace core
