// "作図設定.TXT": the chart options kept per data folder, with their reader (version gates)
// and writer. The values live here rather than in the controls of the settings forms; the
// forms load from this struct and store into it at the save points.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace core {

// One family's entry in the hidden-family list of FORM4 as last shown, and its flag.
struct FamilyEntry {
    std::string text;
    std::int16_t selected = 0; // 1 = hidden on the chart
    bool operator==(const FamilyEntry&) const = default;
};

struct DrawingSettings {
    std::int16_t リスト３ = 0; // current family
    std::int16_t 基準家族 = 0; // position chosen in COMBO_A5A
    bool 縦書き = true;
    bool 横書き = false;
    float FONT_SIZE = 16;
    float 行間 = 0;
    float 字間 = 0;
    float ラインの太さ = 1;
    float 最下層部を広げる値 = 0;
    std::int16_t 漢数字の設定 = 1; // 0 "使わない", 1 "普通の漢数字", 2 "多角数字"
    bool 本籍欄 = false;
    bool 備考欄１ = false;
    bool 備考欄２ = false;
    bool 住所欄 = false;
    bool 認知欄 = false;
    bool 離婚_養子縁組欄 = false; // "離婚・養子縁組欄"
    bool 死亡年月日欄 = false;
    bool 生年月日欄 = false;
    bool 本家と同じ名字は省略する = false;
    bool 子孫以外は女性主体で作図 = false;
    bool 子供の表示を右順にする = true;
    bool 同一人物を繋ぐ = false;
    bool 相続関係説明図にする = false;
    bool 家族No表示 = false;
    bool 当事者No表示 = false;
    bool 系図毎に区切る = false;
    bool 離婚年月日非表示 = false;
    bool 本籍欄に_本籍_と入れる = false; // "本籍欄に「本籍」と入れる"
    bool 住所欄に_住所_と入れる = false; // "住所欄に「住所」と入れる"
    bool 氏名を１文字間隔で表示 = false;
    std::vector<FamilyEntry> familyEntries; // the pairs after "書き込み時の婚姻数"
    bool 姓と名の間に___を付ける = false;   // "姓と名の間に[・]を付ける"
    std::int16_t テキスト罫線 = 1;          // 1..5
    float 名前の字下げ = 0;
    float 生年月日の字下げ = 5; // 0..15
    std::string 被相続人の名前;
    bool 被相続人の情報欄を表示する = false;
    bool 戸籍還付欄を表示する = false; // key "戸籍還付欄を表示する。"
    std::string 登記簿上の住所１;
    std::string 登記簿上の住所２;
    std::string 登記簿上の住所３;
    std::string 登記簿上の住所４;
    bool 当事者リンク元に統一 = false;
    bool 非婚姻関係を強制表示 = false;
    std::int16_t 一覧図に住所を記載する = 0;
    std::int16_t 家督相続 = 0;
    std::string 表題部追加情報;
    std::int16_t この系図では設定の記載を省略 = 0;
    std::int16_t 申出人の当事者番号 = 0;
    std::string 申出人の住所;
    std::string 申出人の氏名;
    std::string 作成者の住所;
    std::string 作成者の氏名;
    std::string 作成日付;
    bool 法定相続情報一覧図にする = false;
    // Enabled state of the check box "法定相続情報一覧図作成" as the reader leaves it.
    bool 法定相続情報一覧図_enabled = true;
    // Inheritance-right flags, one per person (index person − 1); 1 = confirmed heir.
    std::vector<std::uint8_t> heirFlags;

    bool isHeir(int person) const;
    void setHeir(int person, bool heir);
    std::vector<int> heirs() const; // flagged person numbers, increasing

    bool operator==(const DrawingSettings&) const = default;
};

// The values of a data folder without "作図設定.TXT": the first-use settings.
DrawingSettings firstUseSettings(int familyCount);

// What the reader needs to know about the registers and capacities.
struct SettingsLimits {
    int familyCount = 0;
    int personCount = 0;
    int 最大婚姻数 = 0;
    int 最大登録人数 = 0;
};

// Reads "作図設定.TXT" over the start values: keys absent from the file's version keep the
// values of `start`. `fileVersion` receives the version (0 for the oldest layout).
DrawingSettings parseDrawingSettings(const std::string& bytes, const std::string& fileName,
                                     const SettingsLimits& limits, const DrawingSettings& start,
                                     int* fileVersion = nullptr);

std::string drawingSettingsBytes(const DrawingSettings& s, int familyCount, int personCount);

// The writer 作図設定_SW_SUB: every key, clamping 生年月日の字下げ to 0..15.
void 作図設定_SW_SUB(const std::filesystem::path& folder, const DrawingSettings& s, int familyCount,
                     int personCount);

// The keys of the file in order, each with the member that holds its value, for the
// reader, the writer and the register dump. Keys with their own handling ("バージョン",
// "書き込み時の婚姻数", "相続権確定者の数") carry std::monostate.
struct SettingsKey {
    const char* key;  // as written, with its trailing comma
    int minVersion;   // lowest file version that holds the key
    bool strictState; // a state read as on only for the value 1
    std::variant<std::monostate, std::int16_t DrawingSettings::*, float DrawingSettings::*,
                 bool DrawingSettings::*, std::string DrawingSettings::*>
        member;
};
const std::vector<SettingsKey>& settingsKeys();

} // namespace core
