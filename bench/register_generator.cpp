#include "register_generator.h"

#include "core/constants.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace bench {

namespace {

const char* const kSurnames[] = {"山田", "佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺",
                                 "中村", "小林", "加藤", "吉田", "山本", "松本", "井上"};
const char* const kMale[] = {"太郎", "一郎", "次郎", "健太", "誠", "翔", "大輔", "浩"};
const char* const kFemale[] = {"花子", "幸子", "美咲", "恵子", "優子", "明美", "さくら", "和子"};
const char* const kPlaces[] = {"東京都世田谷区北沢三丁目", "神奈川県横浜市港北区日吉本町一丁目",
                               "大阪府大阪市北区梅田二丁目", "長野県松本市城西一丁目"};

class Builder {
public:
    explicit Builder(const GeneratorOptions& o) : o_(o), rng_(o.seed) {}

    core::Registers build() {
        while (full() == false) {
            tree();
        }
        return std::move(reg_);
    }

private:
    bool full() const { return reg_.personCount() >= o_.persons; }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }

    std::string wide(int n) {
        static const char* const digits[] = {"０", "１", "２", "３", "４",
                                             "５", "６", "７", "８", "９"};
        std::string s;
        for (char c : std::to_string(n)) {
            s += digits[c - '0'];
        }
        return s;
    }

    int addPerson(bool female, const std::string& surname) {
        core::当事者 p;
        const int n = reg_.personCount() + 1;
        p.当事者NO = p.C_当事者NO = static_cast<std::int16_t>(n);
        p.setSex(female);
        p.姓 = surname;
        p.名 = female ? kFemale[pick(8)] : kMale[pick(8)];
        p.本籍1 = kPlaces[pick(4)];
        p.本籍2 = wide(1 + pick(40)) + "番地";
        // The parts of a text are drawn last part first, one statement each: the order of
        // the operands of + is the compiler's choice, and the registers must not depend on it.
        const int go = 1 + pick(9);
        const int ban = 1 + pick(20);
        const char* const place = kPlaces[pick(4)];
        p.住所1 = place + wide(ban) + "番" + wide(go) + "号";
        const int day = 1 + pick(28);
        const int month = 1 + pick(12);
        const int year = 1 + pick(63);
        p.生年月日 = "昭和" + wide(year) + "年" + wide(month) + "月" + wide(day) + "日";
        if (chance(30)) {
            const int deathMonth = 1 + pick(12);
            const int deathYear = 1 + pick(30);
            p.死亡年月日 = "平成" + wide(deathYear) + "年" + wide(deathMonth) + "月";
        }
        reg_.persons.push_back(p);
        return n;
    }

    int addFamily(int husband, int wife, bool nonMarital) {
        core::家族 f;
        const int n = reg_.familyCount() + 1;
        f.夫婦確定_f = 1;
        f.婚姻NO = static_cast<std::int16_t>(n);
        f.形態 = nonMarital ? core::UnionForm::NonMarital : core::UnionForm::Marriage;
        f.夫NO = static_cast<std::int16_t>(husband);
        f.妻NO = static_cast<std::int16_t>(wife);
        f.夫肩書 = "夫";
        f.妻肩書 = "妻";
        f.系統_F = core::Lineage::Paternal;
        reg_.families.push_back(f);
        return n;
    }

    void addChild(int family, int child, core::ChildKind form) {
        core::家族& f = reg_.family(family);
        core::当事者& c = reg_.person(child);
        core::Child slot;
        slot.子NO = static_cast<std::int16_t>(child);
        slot.子の形態 = form;
        slot.子の肩書 = c.isMale() ? "長男" : "長女";
        if (form == core::ChildKind::Adopted) {
            slot.縁組日 = "平成２年４月１日";
        } else if (form == core::ChildKind::Acknowledged) {
            slot.認知日 = "昭和４５年５月２０日";
        }
        f.子.push_back(slot);
        if (form != core::ChildKind::Adopted) {
            c.実母NO = f.妻NO;
            c.実父NO = form == core::ChildKind::Unacknowledged ? 0 : f.夫NO;
            c.父母家族NO = static_cast<std::int16_t>(family);
        }
        c.子孫_F = c.子孫_FL = static_cast<std::int16_t>(family);
    }

    // One founder couple and its descendants over the generations.
    void tree() {
        const std::string surname = kSurnames[pick(14)];
        std::vector<int> line = {addPerson(false, surname)};
        for (int g = 0; g < o_.generations && !line.empty() && !full(); ++g) {
            std::vector<int> next;
            for (int person : line) {
                if (full() || (g > 0 && !chance(80))) {
                    continue;
                }
                const bool male = reg_.person(person).isMale();
                const int marriages = chance(10) ? 2 : 1;
                for (int m = 0; m < marriages && !full(); ++m) {
                    const int spouse = addPerson(male, kSurnames[pick(14)]);
                    const bool nonMarital = chance(5);
                    const int family = male ? addFamily(person, spouse, nonMarital)
                                            : addFamily(spouse, person, nonMarital);
                    if (marriages == 2 && m == 0) {
                        reg_.family(family).離婚_F = 1;
                        reg_.family(family).離婚年月日 = "昭和５０年２月１０日";
                    }
                    const int children = pick(4) + (g < 3 ? 1 : 0);
                    for (int k = 0; k < children && !full(); ++k) {
                        const bool female = !chance(50);
                        const std::string childSurname =
                            male ? reg_.person(person).姓 : reg_.person(spouse).姓;
                        const int child = addPerson(female, childSurname);
                        auto form = core::ChildKind::Birth;
                        if (nonMarital) {
                            form = chance(50) ? core::ChildKind::Acknowledged
                                              : core::ChildKind::Unacknowledged;
                        } else if (chance(5)) {
                            form = core::ChildKind::Adopted;
                        }
                        addChild(family, child, form);
                        next.push_back(child);
                    }
                }
            }
            line = std::move(next);
        }
        // Now and then a person of this tree is entered a second time and linked.
        if (!full() && reg_.personCount() > 2 && chance(30)) {
            const int source = reg_.personCount() - pick(std::min(reg_.personCount(), 10));
            const int copy = addPerson(reg_.person(source).isFemale(), reg_.person(source).姓);
            reg_.person(copy).名 = reg_.person(source).名;
            reg_.person(copy).C_当事者NO = static_cast<std::int16_t>(source);
        }
    }

    GeneratorOptions o_;
    std::mt19937 rng_;
    core::Registers reg_;
};

} // namespace

core::DataFolder generateRegisters(const GeneratorOptions& options) {
    core::DataFolder data;
    data.reg = Builder(options).build();
    data.env.Mode = 1;
    data.env.最大登録人数 = 32000;
    data.env.最大婚姻数 = 32000;
    data.env.一世帯当りの子供の最大数 = 30;
    data.env.一人が持てる最大家族数 = 10;
    data.env.最大世代数 = 40;
    data.env.一般 = {"子", "養子", "養女"};
    data.env.息子 = {"長男", "二男", "三男"};
    data.env.娘 = {"長女", "二女", "三女"};
    data.env.夫 = core::defaultHusbandTitles();
    data.env.妻 = core::defaultWifeTitles();
    data.settings = core::firstUseSettings(data.reg.familyCount());
    data.settings.heirFlags.resize(static_cast<std::size_t>(data.reg.personCount()), 0);
    data.familyFilePresent = data.reg.familyCount() > 0;
    data.settingsFilePresent = true;
    return data;
}

core::DataFolder writeGeneratedFolder(const std::filesystem::path& folder,
                                      const GeneratorOptions& options) {
    core::DataFolder data = generateRegisters(options);
    data.folder = folder;
    std::filesystem::create_directories(folder);
    data.savePersons();
    data.saveFamilies();
    data.saveSettings();
    core::writeEnvironment(folder / core::kEnvironmentFile, data.env);
    return data;
}

std::string dotGraph(const core::Registers& reg) {
    std::string out = "digraph family {\n"
                      "  rankdir=LR;\n"
                      "  node [shape=box, fontname=\"IPAMincho\", fontsize=12];\n"
                      "  edge [arrowhead=none];\n";
    for (int p = 1; p <= reg.personCount(); ++p) {
        const core::当事者& person = reg.person(p);
        std::string label = person.姓 + person.名;
        if (!person.生年月日.empty()) {
            label += "\\n" + person.生年月日 + "生";
        }
        if (!person.死亡年月日.empty()) {
            label += "\\n" + person.死亡年月日 + "亡";
        }
        out += "  p" + std::to_string(p) + " [label=\"" + label + "\"];\n";
    }
    for (int f = 1; f <= reg.familyCount(); ++f) {
        const core::家族& family = reg.family(f);
        const std::string node = "f" + std::to_string(f);
        out += "  " + node + " [shape=point];\n";
        for (const int spouse : {static_cast<int>(family.夫NO), static_cast<int>(family.妻NO)}) {
            if (spouse > 0) {
                out += "  p" + std::to_string(spouse) + " -> " + node + ";\n";
            }
        }
        for (const core::Child& child : family.子) {
            if (child.子NO > 0) {
                out += "  " + node + " -> p" + std::to_string(child.子NO) + ";\n";
            }
        }
    }
    out += "}\n";
    return out;
}

} // namespace bench
