#include "converter/masking.h"

#include "common/folder_transaction.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/line_forms.h"
#include "converter/files.h"

#include <chrono>
#include <ctime>
#include <optional>
#include <utility>

namespace converter {

namespace {

constexpr std::array<std::string_view, 50> kSurnames = {
    "佐藤", "鈴木", "高橋",   "田中", "伊藤",   "山本", "渡辺", "中村", "小林", "加藤",
    "吉田", "山田", "佐々木", "山口", "松本",   "井上", "木村", "林",   "斎藤", "清水",
    "山崎", "阿部", "森",     "池田", "橋本",   "山下", "石川", "中島", "前田", "藤田",
    "後藤", "小川", "岡田",   "村上", "長谷川", "近藤", "石井", "斉藤", "坂本", "遠藤",
    "藤井", "青木", "福田",   "三浦", "西村",   "藤原", "太田", "松田", "原田", "岡本"};

constexpr std::array<std::string_view, 50> kMaleNames = {
    "翔",   "翔太", "蓮",   "悠真", "悠斗", "大翔", "颯太", "悠人", "大輔", "大和",
    "悠",   "健太", "陸",   "蒼太", "大輝", "陽太", "隼人", "陽斗", "誠",   "樹",
    "翼",   "瑛太", "海斗", "陽翔", "直樹", "湊",   "優",   "優斗", "大地", "陽向",
    "大樹", "健",   "悠太", "蒼",   "陽",   "葵",   "奏太", "亮",   "遥斗", "颯真",
    "新",   "達也", "悠翔", "剛",   "空",   "亮太", "仁",   "朝陽", "太一", "奏"};

constexpr std::array<std::string_view, 50> kFemaleNames = {
    "葵",   "陽菜",   "愛",   "結菜", "結衣",   "凛",   "結愛", "美咲", "楓",     "美月",
    "玲奈", "裕子",   "杏奈", "陽子", "七海",   "愛美", "優奈", "智子", "彩乃",   "美穂",
    "花音", "さくら", "彩",   "未来", "莉子",   "優子", "愛莉", "奈々", "久美子", "愛梨",
    "杏",   "千尋",   "花",   "恵",   "香織",   "芽依", "桜",   "遥",   "幸子",   "芽衣",
    "優",   "美優",   "琴音", "美香", "真由美", "真央", "綾乃", "優菜", "里奈",   "恵美"};

constexpr std::string_view kFullWidthCapitals[26] = {
    "Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ", "Ｇ", "Ｈ", "Ｉ", "Ｊ", "Ｋ", "Ｌ", "Ｍ",
    "Ｎ", "Ｏ", "Ｐ", "Ｑ", "Ｒ", "Ｓ", "Ｔ", "Ｕ", "Ｖ", "Ｗ", "Ｘ", "Ｙ", "Ｚ"};

} // namespace

const std::array<std::string_view, 50>& tableEntries(NameTable table) {
    switch (table) {
    case NameTable::Surname:
        return kSurnames;
    case NameTable::Male:
        return kMaleNames;
    case NameTable::Female:
        break;
    }
    return kFemaleNames;
}

std::string cycleSuffix(int cycle) {
    // Bijective base 26: 1..26 -> Ａ..Ｚ, 27 -> ＡＡ, 28 -> ＡＢ ...
    std::string suffix;
    while (cycle > 0) {
        --cycle;
        suffix.insert(0, kFullWidthCapitals[cycle % 26]);
        cycle /= 26;
    }
    return suffix;
}

NameDrawer::NameDrawer(std::uint32_t seed) : rng_(seed) {
    pick_ = [this] {
        // Rejection keeps the choice exactly uniform over the 50 entries.
        constexpr std::uint32_t limit = 0xFFFFFFFFu - 0xFFFFFFFFu % 50u;
        std::uint32_t r;
        do {
            r = static_cast<std::uint32_t>(rng_());
        } while (r >= limit);
        return static_cast<int>(r % 50u);
    };
}

NameDrawer::NameDrawer(Picker picker) : pick_(std::move(picker)) {}

std::string NameDrawer::draw(NameTable table, std::string_view real) {
    State& s = states_[static_cast<int>(table)];
    for (;;) {
        int index;
        do {
            index = pick_();
        } while (index < 0 || index >= 50 || s.marks[static_cast<std::size_t>(index)] > s.cycle);
        std::string name(tableEntries(table)[static_cast<std::size_t>(index)]);
        name += cycleSuffix(s.cycle);
        const bool same = !real.empty() && name == real;
        if (same && s.picks < 49) {
            continue; // another entry is still free in this cycle
        }
        s.marks[static_cast<std::size_t>(index)] = s.cycle + 1;
        if (++s.picks == 50) {
            ++s.cycle;
            s.picks = 0;
        }
        if (!same) {
            return name;
        }
        // The last free entry would give the real name back: it is passed over and the
        // next cycle (with its suffix) is drawn from.
    }
}

std::uint32_t clockSeed() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const long seconds = local.tm_hour * 3600L + local.tm_min * 60L + local.tm_sec;
    return static_cast<std::uint32_t>(seconds % 32767);
}

void Masker::maskPerson(当事者& p) {
    if (!p.姓.empty()) {
        auto it = surnames_.find(p.姓);
        if (it == surnames_.end()) {
            it = surnames_.emplace(p.姓, drawer_.draw(NameTable::Surname, p.姓)).first;
        }
        p.姓 = it->second;
    }
    if (!p.名.empty()) {
        p.名 = drawer_.draw(p.isFemale() ? NameTable::Female : NameTable::Male, p.名);
    }
    const std::string fullName = p.姓名順 == 1 ? p.名 + p.姓 : p.姓 + p.名;
    auto derive = [&](std::string& field, std::string_view suffix) {
        if (!field.empty()) {
            field = fullName;
            field += suffix;
        }
    };
    derive(p.住所1, "の住所");
    derive(p.住所2, "の住所２");
    derive(p.本籍1, "の本籍");
    derive(p.本籍2, "の本籍２");
    p.備考1.clear();
    p.備考2.clear();
}

PersonRegister Masker::mask(PersonRegister reg) {
    for (auto& p : reg.persons) {
        maskPerson(p);
    }
    return reg;
}

std::string maskedSettingsBytes(std::string bytes) {
    const std::string fileName(kSettingsFile);
    const std::string countKey = common::encodeCp932("書き込み時の婚姻数");
    static const char* const kHiddenKeys[] = {
        "被相続人の名前",   "登記簿上の住所１", "登記簿上の住所２",
        "登記簿上の住所３", "登記簿上の住所４", "申出人の住所",
        "申出人の氏名",     "作成者の住所",     "作成者の氏名"};
    std::vector<std::string> hidden;
    for (const char* k : kHiddenKeys) {
        hidden.push_back(common::encodeCp932(k));
    }
    const std::string stars = common::encodeCp932("＊＊＊＊");
    const std::string hiddenCaption = common::encodeCp932(" : ＊＊＊＊＊＊＊＊＊＊");

    common::ItemReader in(std::move(bytes), fileName);
    std::string out;
    while (!in.atEnd()) {
        const std::string_view line = in.rawLine();
        const std::size_t comma = line.find(',');
        const std::string_view key = line.substr(0, comma);
        const std::string_view value =
            comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
        if (key == countKey) {
            long families = 0;
            if (!parseLong(value, families) || families < 0) {
                std::string shown = "?";
                try {
                    shown = common::decodeCp932(value);
                } catch (const common::Cp932Error&) {
                }
                in.fail("書き込み時の婚姻数「" + shown + "」が正しくありません");
            }
            in.requireItems(families, 2, "書き込み時の婚姻数");
            out.append(line);
            out += "\r\n";
            for (long i = 1; i <= families; ++i) {
                in.rawItem(); // the family's list text
                const std::string_view flagText = in.rawItem();
                long flag = 0;
                if (!parseLong(flagText, flag)) {
                    in.fail("家族の選択欄が読めません（" + std::to_string(families) +
                            " 家族のうち " + std::to_string(i) + " 番目）");
                }
                out += '"';
                out += std::to_string(i);
                out += hiddenCaption;
                out += "\",";
                out += common::formatInteger(flag);
                out += "\r\n";
            }
            continue;
        }
        bool hide = false;
        if (value.find_first_not_of(' ') != std::string_view::npos) {
            for (const auto& h : hidden) {
                hide = hide || key == h;
            }
        }
        if (hide) {
            out.append(key);
            out += ',';
            out += stars;
        } else {
            out.append(line);
        }
        out += "\r\n";
    }
    return out;
}

namespace {

void stop(common::Dialogs& dialogs, std::string_view title, std::string_view text) {
    dialogs.ok(title, text, common::Icon::Stop);
}

// The bytes of the register and of the settings, real and masked.
struct MaskedBytes {
    std::string originalRegister;
    std::string maskedRegister;
    bool settings = false; // whether the folder holds a settings file
    std::string originalSettings;
    std::string maskedSettings;
};

// Reads the register and its name order; false, after the message, when they are unreadable.
bool readRegister(const std::filesystem::path& folder, std::string& bytes,
                  std::optional<PersonReader>& reader, std::vector<long>& nameOrder,
                  common::Dialogs& dialogs) {
    try {
        bytes = common::readFile(folder / kPersonFile);
        reader.emplace(bytes, std::string(kPersonFile));
        nameOrder = readNameOrder(folder, reader->layout().count);
    } catch (const common::FileError& e) {
        stop(dialogs, kReadErrorTitle, e.what());
        return false;
    }
    return true;
}

// Refuses a folder whose real files are already set aside; `settings` tells whether the
// folder holds a settings file.
bool alreadyMasked(const std::filesystem::path& folder, bool& settings, common::Dialogs& dialogs) {
    if (fileExists(folder / kSavedPersonFile)) {
        stop(dialogs, "既に変換済です",
             "既に個人情報を変換した当事者目録があるので、処理を中止します。");
        return true;
    }
    settings = fileExists(folder / kSettingsFile);
    if (settings && fileExists(folder / kSavedSettingsFile)) {
        // A set-aside settings file without its register: moving the settings aside would
        // overwrite it.
        stop(dialogs, "既に変換済です",
             "既に個人情報を変換した作図設定（9_作図設定.TXT）があるので、処理を中止します。");
        return true;
    }
    return false;
}

// The masked register, record by record; nullopt, after the message, when a record is
// unreadable. Throws common::FileError when a masked record cannot be written.
std::optional<std::string> maskRecords(std::optional<PersonReader>& reader,
                                       const std::vector<long>& nameOrder, NameDrawer& drawer,
                                       common::Dialogs& dialogs) {
    Masker masker(drawer);
    PersonWriter writer(reader->layout(), nameOrder.size());
    当事者 p;
    for (std::size_t i = 0;; ++i) {
        try {
            if (!reader->next(p)) {
                break;
            }
        } catch (const common::FileError& e) {
            stop(dialogs, kReadErrorTitle, e.what());
            return std::nullopt;
        }
        p.姓名順 = nameOrder[i];
        masker.maskPerson(p);
        writer.add(p);
    }
    reader.reset();
    return writer.take();
}

// Builds the masked register and settings; false, after the message, when they cannot be.
bool buildMasked(const std::filesystem::path& folder, std::optional<PersonReader>& reader,
                 const std::vector<long>& nameOrder, NameDrawer& drawer, MaskedBytes& bytes,
                 common::Dialogs& dialogs) {
    try {
        auto masked = maskRecords(reader, nameOrder, drawer, dialogs);
        if (!masked) {
            return false;
        }
        bytes.maskedRegister = std::move(*masked);
        if (bytes.settings) {
            bytes.originalSettings = common::readFile(folder / kSettingsFile);
            bytes.maskedSettings = maskedSettingsBytes(bytes.originalSettings);
        }
    } catch (const common::FileError& e) {
        stop(dialogs, kMaskErrorTitle, std::string(e.what()) + "\n何も変更していません。");
        return false;
    }
    return true;
}

// Sets the real files aside and puts the masked ones in their place; false, after the
// message, when that fails.
bool writeMasked(const std::filesystem::path& folder, MaskedBytes bytes, common::Dialogs& dialogs) {
    // All of it in one folder transaction: whatever happens, the folder holds either the
    // real register and settings or the masked ones with the real ones set aside, never a
    // mix, and "当事者目録.TXT" is never missing. The settings go in before the register, so
    // that even while the transaction runs (or a kill stops it) the masked register never
    // stands beside the real names of the settings.
    try {
        common::FolderTransaction change(folder);
        change.write(kSavedPersonFile, std::move(bytes.originalRegister));
        if (bytes.settings) {
            change.write(kSavedSettingsFile, std::move(bytes.originalSettings));
            change.write(kSettingsFile, std::move(bytes.maskedSettings));
        }
        change.write(kPersonFile, std::move(bytes.maskedRegister));
        change.commit();
    } catch (const common::FileError& e) {
        stop(dialogs, kMaskErrorTitle, e.what());
        return false;
    }
    return true;
}

} // namespace

JobOutcome maskFolder(const std::filesystem::path& folder, common::Dialogs& dialogs,
                      NameDrawer& drawer) {
    if (!recoverDataFolder(folder, dialogs)) {
        return JobOutcome::Stopped;
    }
    // The register is read, masked and written record by record; everything is built
    // before anything in the folder changes.
    MaskedBytes bytes;
    std::optional<PersonReader> reader;
    std::vector<long> nameOrder;
    if (!readRegister(folder, bytes.originalRegister, reader, nameOrder, dialogs)) {
        return JobOutcome::Stopped;
    }
    if (alreadyMasked(folder, bytes.settings, dialogs)) {
        return JobOutcome::Stopped;
    }
    if (!buildMasked(folder, reader, nameOrder, drawer, bytes, dialogs)) {
        return JobOutcome::Stopped;
    }
    if (!writeMasked(folder, std::move(bytes), dialogs)) {
        return JobOutcome::Stopped;
    }
    return JobOutcome::Done;
}

JobOutcome restoreFolder(const std::filesystem::path& folder, common::Dialogs& dialogs) {
    if (!recoverDataFolder(folder, dialogs)) {
        return JobOutcome::Stopped;
    }
    const auto savedPersonFile = folder / kSavedPersonFile;
    const auto savedSettingsFile = folder / kSavedSettingsFile;
    if (!fileExists(savedPersonFile)) {
        stop(dialogs, "この当事者目録はオリジナルです",
             "元に戻す当事者目録が存在しないので、処理を中止します。");
        return JobOutcome::Stopped;
    }
    try {
        // The set-aside files come back and go away in one folder transaction.
        common::FolderTransaction change(folder);
        change.write(kPersonFile, common::readFile(savedPersonFile));
        if (fileExists(savedSettingsFile)) {
            change.write(kSettingsFile, common::readFile(savedSettingsFile));
            change.remove(kSavedSettingsFile);
        }
        change.remove(kSavedPersonFile);
        change.commit();
    } catch (const common::FileError& e) {
        stop(dialogs, kRestoreErrorTitle, e.what());
        return JobOutcome::Stopped;
    }
    return JobOutcome::Done;
}

} // namespace converter
