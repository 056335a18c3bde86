#include "core/drawing_settings.h"

#include "common/file_io.h"
#include "common/line_forms.h"
#include "core/constants.h"

#include <algorithm>
#include <cmath>

namespace core {

bool DrawingSettings::isHeir(int person) const {
    return person >= 1 && static_cast<std::size_t>(person) <= heirFlags.size() &&
           heirFlags[static_cast<std::size_t>(person - 1)] != 0;
}

void DrawingSettings::setHeir(int person, bool heir) {
    if (person < 1) {
        return;
    }
    if (heirFlags.size() < static_cast<std::size_t>(person)) {
        heirFlags.resize(static_cast<std::size_t>(person), 0);
    }
    heirFlags[static_cast<std::size_t>(person - 1)] = heir ? 1 : 0;
}

std::vector<int> DrawingSettings::heirs() const {
    std::vector<int> out;
    for (std::size_t i = 0; i < heirFlags.size(); ++i) {
        if (heirFlags[i] != 0) {
            out.push_back(static_cast<int>(i + 1));
        }
    }
    return out;
}

DrawingSettings firstUseSettings(int familyCount) {
    DrawingSettings s;
    s.リスト３ = static_cast<std::int16_t>(familyCount);
    s.漢数字の設定 = 1;
    s.離婚年月日非表示 = false;
    s.本籍欄に_本籍_と入れる = false;
    s.住所欄に_住所_と入れる = false;
    s.縦書き = true;
    s.横書き = false;
    s.ラインの太さ = 1;
    s.FONT_SIZE = 16;
    s.テキスト罫線 = 1;
    s.名前の字下げ = 0;
    s.生年月日の字下げ = 5;
    return s;
}

namespace {
using S = DrawingSettings;
} // namespace

const std::vector<SettingsKey>& settingsKeys() {
    static const std::vector<SettingsKey> keys = {
        {"バージョン,", 0, false, std::monostate{}},
        {"リスト３,", 0, false, &S::リスト３},
        {"基準家族,", 0, false, &S::基準家族},
        {"縦書き,", 0, false, &S::縦書き},
        {"横書き,", 0, false, &S::横書き},
        {"FONT_SIZE,", 0, false, &S::FONT_SIZE},
        {"行間,", 0, false, &S::行間},
        {"字間,", 0, false, &S::字間},
        {"ラインの太さ,", 0, false, &S::ラインの太さ},
        {"最下層部を広げる値,", 0, false, &S::最下層部を広げる値},
        {"漢数字の設定,", 0, false, &S::漢数字の設定},
        {"本籍欄,", 0, false, &S::本籍欄},
        {"備考欄１,", 0, false, &S::備考欄１},
        {"備考欄２,", 0, false, &S::備考欄２},
        {"住所欄,", 0, false, &S::住所欄},
        {"認知欄,", 0, false, &S::認知欄},
        {"離婚・養子縁組欄,", 0, false, &S::離婚_養子縁組欄},
        {"死亡年月日欄,", 0, false, &S::死亡年月日欄},
        {"生年月日欄,", 0, false, &S::生年月日欄},
        {"本家と同じ名字は省略する,", 0, false, &S::本家と同じ名字は省略する},
        {"子孫以外は女性主体で作図,", 0, false, &S::子孫以外は女性主体で作図},
        {"子供の表示を右順にする,", 0, false, &S::子供の表示を右順にする},
        {"同一人物を繋ぐ,", 0, false, &S::同一人物を繋ぐ},
        {"相続関係説明図にする,", 0, false, &S::相続関係説明図にする},
        {"家族No表示,", 0, false, &S::家族No表示},
        {"当事者No表示,", 0, false, &S::当事者No表示},
        {"系図毎に区切る,", 0, false, &S::系図毎に区切る},
        {"離婚年月日非表示,", 0, false, &S::離婚年月日非表示},
        {"本籍欄に「本籍」と入れる,", 0, false, &S::本籍欄に_本籍_と入れる},
        {"住所欄に「住所」と入れる,", 0, false, &S::住所欄に_住所_と入れる},
        {"氏名を１文字間隔で表示,", 0, false, &S::氏名を１文字間隔で表示},
        {"書き込み時の婚姻数,", 0, false, std::monostate{}},
        {"姓と名の間に[・]を付ける,", 52, false, &S::姓と名の間に___を付ける},
        {"テキスト罫線,", 62, false, &S::テキスト罫線},
        {"名前の字下げ,", 62, false, &S::名前の字下げ},
        {"生年月日の字下げ,", 62, false, &S::生年月日の字下げ},
        {"被相続人の名前,", 63, false, &S::被相続人の名前},
        {"被相続人の情報欄を表示する,", 63, true, &S::被相続人の情報欄を表示する},
        {"戸籍還付欄を表示する。,", 63, true, &S::戸籍還付欄を表示する},
        {"登記簿上の住所１,", 63, false, &S::登記簿上の住所１},
        {"登記簿上の住所２,", 63, false, &S::登記簿上の住所２},
        {"登記簿上の住所３,", 64, false, &S::登記簿上の住所３},
        {"登記簿上の住所４,", 64, false, &S::登記簿上の住所４},
        {"当事者リンク元に統一,", 200, true, &S::当事者リンク元に統一},
        {"非婚姻関係を強制表示,", 200, true, &S::非婚姻関係を強制表示},
        {"一覧図に住所を記載する,", 220, false, &S::一覧図に住所を記載する},
        {"家督相続,", 220, false, &S::家督相続},
        {"表題部追加情報,", 220, false, &S::表題部追加情報},
        {"この系図では設定の記載を省略,", 220, false, &S::この系図では設定の記載を省略},
        {"申出人の当事者番号,", 220, false, &S::申出人の当事者番号},
        {"申出人の住所,", 220, false, &S::申出人の住所},
        {"申出人の氏名,", 220, false, &S::申出人の氏名},
        {"作成者の住所,", 220, false, &S::作成者の住所},
        {"作成者の氏名,", 220, false, &S::作成者の氏名},
        {"作成日付,", 220, false, &S::作成日付},
        {"法定相続情報一覧図にする,", 220, true, &S::法定相続情報一覧図にする},
        {"相続権確定者の数,", 220, false, std::monostate{}},
    };
    return keys;
}

namespace {

float clampIndent(float v) {
    return std::clamp(v, 0.0f, 15.0f);
}

class SettingsReader {
public:
    SettingsReader(common::ItemReader& in, const SettingsLimits& limits, DrawingSettings& s)
        : in_(in), limits_(limits), s_(s) {}

    void value(const SettingsKey& k) {
        in_.rawItem(); // the key
        std::visit(
            [&](auto member) {
                using M = decltype(member);
                if constexpr (std::is_same_v<M, std::int16_t S::*>) {
                    s_.*member = in_.integerItem();
                } else if constexpr (std::is_same_v<M, float S::*>) {
                    s_.*member = in_.numberItem();
                } else if constexpr (std::is_same_v<M, bool S::*>) {
                    const float v = in_.numberItem();
                    s_.*member = k.strictState ? v == 1 : v != 0;
                } else if constexpr (std::is_same_v<M, std::string S::*>) {
                    s_.*member = in_.textItem();
                }
            },
            k.member);
    }

    void familyEntries() {
        in_.rawItem();
        const std::int16_t count = in_.integerItem();
        if (count < 0 || count > limits_.最大婚姻数) {
            in_.fail("書き込み時の婚姻数 " + std::to_string(count) +
                     " が KANKYO.TXT の最大婚姻数（" + std::to_string(limits_.最大婚姻数) +
                     "）の範囲にありません");
        }
        in_.requireItems(count, 2, "書き込み時の婚姻数");
        s_.familyEntries.assign(static_cast<std::size_t>(count), FamilyEntry{});
        for (auto& e : s_.familyEntries) {
            e.text = in_.textItem();
            e.selected = in_.integerItem();
        }
    }

    void heirs() {
        in_.rawItem();
        const std::int16_t count = in_.integerItem();
        if (count < 0 || count > limits_.personCount) {
            in_.fail("相続権確定者の数 " + std::to_string(count) + " が当事者の数（" +
                     std::to_string(limits_.personCount) + "）の範囲にありません");
        }
        in_.requireItems(count, 2, "相続権確定者の数");
        s_.heirFlags.assign(static_cast<std::size_t>(limits_.personCount), 0);
        for (int i = 0; i < count; ++i) {
            in_.rawItem();
            const float v = in_.numberItem();
            if (v != std::floor(v) || v < 1 || v > limits_.personCount) {
                in_.fail("相続権確定者の当事者番号" + common::formatNumber(v) +
                         "は当事者番号として正しくありません（当事者は " +
                         std::to_string(limits_.personCount) + " 人）");
            }
            s_.setHeir(static_cast<int>(v), true);
        }
    }

private:
    common::ItemReader& in_;
    const SettingsLimits& limits_;
    DrawingSettings& s_;
};

} // namespace

DrawingSettings parseDrawingSettings(const std::string& bytes, const std::string& fileName,
                                     const SettingsLimits& limits, const DrawingSettings& start,
                                     int* fileVersionOut) {
    common::ItemReader in(bytes, fileName);
    DrawingSettings s = start;
    SettingsReader r(in, limits, s);
    const auto& keys = settingsKeys();

    int version = 0;
    const std::string firstKey = in.textItem();
    const std::int16_t first = in.integerItem();
    if (firstKey == "バージョン") {
        version = first;
        r.value(keys[1]);
    } else {
        s.リスト３ = first;
    }
    for (std::size_t i = 2; i < keys.size(); ++i) {
        const SettingsKey& k = keys[i];
        if (version < k.minVersion) {
            continue;
        }
        const std::string_view key = k.key;
        if (key == "書き込み時の婚姻数,") {
            r.familyEntries();
        } else if (key == "相続権確定者の数,") {
            r.heirs();
        } else {
            if (key == "一覧図に住所を記載する," && s.横書き) {
                s.法定相続情報一覧図_enabled = true;
            }
            r.value(k);
        }
        if (key == "縦書き," && s.縦書き) {
            s.法定相続情報一覧図にする = false;
            s.法定相続情報一覧図_enabled = false;
        } else if (key == "漢数字の設定," && (s.漢数字の設定 < 0 || s.漢数字の設定 > 2)) {
            in.fail("漢数字の設定の値" + common::formatInteger(s.漢数字の設定) +
                    "が 0 から 2 の範囲にありません");
        } else if (key == "生年月日の字下げ,") {
            s.生年月日の字下げ = clampIndent(s.生年月日の字下げ);
        }
    }
    if (s.リスト３ > limits.familyCount) {
        s.リスト３ = static_cast<std::int16_t>(limits.familyCount);
    }
    if (fileVersionOut != nullptr) {
        *fileVersionOut = version;
    }
    return s;
}

std::string drawingSettingsBytes(const DrawingSettings& s, int familyCount, int personCount) {
    common::LineWriter out{std::string(kSettingsFile)};
    for (const SettingsKey& k : settingsKeys()) {
        const std::string_view key = k.key;
        if (key == "バージョン,") {
            out.integer(key, written_register_version);
        } else if (key == "書き込み時の婚姻数,") {
            out.integer(key, familyCount);
            for (int f = 1; f <= familyCount; ++f) {
                const bool stored = static_cast<std::size_t>(f) <= s.familyEntries.size();
                const FamilyEntry e =
                    stored ? s.familyEntries[static_cast<std::size_t>(f - 1)] : FamilyEntry{};
                out.quotedPair("書き込み時の婚姻数 " + std::to_string(f), e.text, e.selected);
            }
        } else if (key == "相続権確定者の数,") {
            std::vector<int> heirs;
            for (int p : s.heirs()) {
                if (p <= personCount) {
                    heirs.push_back(p);
                }
            }
            out.integer(key, static_cast<long>(heirs.size()));
            for (int p : heirs) {
                out.number("相続権確定者の当事者番号,", static_cast<float>(p));
            }
        } else if (key == "生年月日の字下げ,") {
            out.number(key, clampIndent(s.生年月日の字下げ));
        } else {
            std::visit(
                [&](auto member) {
                    using M = decltype(member);
                    if constexpr (std::is_same_v<M, std::int16_t S::*>) {
                        if (key == "漢数字の設定,") {
                            out.number(key, s.*member);
                        } else {
                            out.integer(key, s.*member);
                        }
                    } else if constexpr (std::is_same_v<M, float S::*>) {
                        out.number(key, s.*member);
                    } else if constexpr (std::is_same_v<M, bool S::*>) {
                        out.number(key, (s.*member) ? 1.0f : 0.0f);
                    } else if constexpr (std::is_same_v<M, std::string S::*>) {
                        out.text(key, s.*member);
                    }
                },
                k.member);
        }
    }
    return out.take();
}

void 作図設定_SW_SUB(const std::filesystem::path& folder, const DrawingSettings& s, int familyCount,
                     int personCount) {
    common::replaceFile(folder / kSettingsFile, drawingSettingsBytes(s, familyCount, personCount));
}

} // namespace core
