#include "core/register_dump.h"

#include "core/json_writer.h"

namespace core {

namespace {

void list(JsonWriter& w, const char* name, const std::vector<std::string>& items) {
    w.key(name);
    w.beginArray();
    for (const auto& s : items) {
        w.value(s);
    }
    w.endArray();
}

void environment(JsonWriter& w, const Environment& e) {
    w.beginObject();
    w.key("Mode");
    w.value(static_cast<long>(e.Mode));
    w.key("最大登録人数");
    w.value(static_cast<long>(e.最大登録人数));
    w.key("最大婚姻数");
    w.value(static_cast<long>(e.最大婚姻数));
    w.key("一世帯当りの子供の最大数");
    w.value(static_cast<long>(e.一世帯当りの子供の最大数));
    w.key("一人が持てる最大家族数");
    w.value(static_cast<long>(e.一人が持てる最大家族数));
    w.key("最大世代数");
    w.value(static_cast<long>(e.最大世代数));
    list(w, "一般", e.一般);
    list(w, "息子", e.息子);
    list(w, "娘", e.娘);
    list(w, "夫", e.夫);
    list(w, "妻", e.妻);
    w.endObject();
}

void integer(JsonWriter& w, const char* name, long v) {
    w.key(name);
    w.value(v);
}

void text(JsonWriter& w, const char* name, const std::string& v) {
    w.key(name);
    w.value(v);
}

void person(JsonWriter& w, const 当事者& p) {
    w.beginObject();
    integer(w, "当事者NO", p.当事者NO);
    integer(w, "実父NO", p.実父NO);
    integer(w, "実母NO", p.実母NO);
    integer(w, "父母家族NO", p.父母家族NO);
    integer(w, "子孫_F", p.子孫_F);
    integer(w, "男女", p.男女);
    text(w, "姓", p.姓);
    text(w, "名", p.名);
    text(w, "住所1", p.住所1);
    text(w, "住所2", p.住所2);
    text(w, "本籍1", p.本籍1);
    text(w, "本籍2", p.本籍2);
    text(w, "生年月日", p.生年月日);
    text(w, "死亡年月日", p.死亡年月日);
    text(w, "備考1", p.備考1);
    text(w, "備考2", p.備考2);
    integer(w, "C_当事者NO", p.C_当事者NO);
    integer(w, "子孫_FL", p.子孫_FL);
    integer(w, "当姓", p.当姓);
    integer(w, "創始階層", p.創始階層);
    integer(w, "姓名順", p.姓名順);
    w.endObject();
}

void family(JsonWriter& w, const 家族& f) {
    w.beginObject();
    integer(w, "夫婦確定_f", f.夫婦確定_f);
    integer(w, "婚姻NO", f.婚姻NO);
    integer(w, "形態", fileValue(f.形態));
    integer(w, "形態L3", fileValue(f.形態L3));
    integer(w, "夫NO", f.夫NO);
    integer(w, "妻NO", f.妻NO);
    text(w, "夫肩書", f.夫肩書);
    text(w, "妻肩書", f.妻肩書);
    integer(w, "配偶者非表示_F", f.配偶者非表示_F);
    integer(w, "配偶者姓F", f.配偶者姓F);
    integer(w, "系統_F", fileValue(f.系統_F));
    integer(w, "離婚_F", f.離婚_F);
    text(w, "離婚年月日", f.離婚年月日);
    integer(w, "子数", f.子数());
    w.key("children");
    w.beginArray();
    for (const auto& c : f.子) {
        w.beginObject();
        integer(w, "子NO", c.子NO);
        text(w, "子の肩書", c.子の肩書);
        integer(w, "子の形態", fileValue(c.子の形態));
        text(w, "縁組日", c.縁組日);
        text(w, "認知日", c.認知日);
        w.endObject();
    }
    w.endArray();
    w.endObject();
}

void settings(JsonWriter& w, const DataFolder& d) {
    const DrawingSettings& s = d.settings;
    w.beginObject();
    w.key("present");
    w.value(d.settingsFilePresent);
    for (const SettingsKey& k : settingsKeys()) {
        std::string name = k.key;
        name.pop_back(); // the trailing comma
        if (name == "バージョン") {
            continue;
        }
        if (name == "書き込み時の婚姻数") {
            w.key(name);
            w.beginArray();
            for (int f = 1; f <= d.reg.familyCount(); ++f) {
                const bool stored = static_cast<std::size_t>(f) <= s.familyEntries.size();
                const FamilyEntry e =
                    stored ? s.familyEntries[static_cast<std::size_t>(f - 1)] : FamilyEntry{};
                w.beginObject();
                w.key("text");
                w.value(e.text);
                w.key("selected");
                w.value(static_cast<long>(e.selected));
                w.endObject();
            }
            w.endArray();
            continue;
        }
        if (name == "相続権確定者の数") {
            const auto heirs = s.heirs();
            w.key(name);
            w.value(static_cast<long>(heirs.size()));
            w.key("相続権確定者の当事者番号");
            w.beginArray();
            for (int p : heirs) {
                w.value(static_cast<long>(p));
            }
            w.endArray();
            continue;
        }
        w.key(name);
        std::visit(
            [&](auto member) {
                using M = decltype(member);
                if constexpr (std::is_same_v<M, std::int16_t DrawingSettings::*>) {
                    w.value(static_cast<long>(s.*member));
                } else if constexpr (std::is_same_v<M, float DrawingSettings::*>) {
                    w.value(s.*member);
                } else if constexpr (std::is_same_v<M, bool DrawingSettings::*>) {
                    w.value(static_cast<long>((s.*member) ? 1 : 0));
                } else if constexpr (std::is_same_v<M, std::string DrawingSettings::*>) {
                    w.value(s.*member);
                } else {
                    w.value(static_cast<long>(0));
                }
            },
            k.member);
    }
    w.endObject();
}

} // namespace

std::string registersJson(const DataFolder& d) {
    JsonWriter w;
    w.beginObject();
    w.key("environment");
    environment(w, d.env);
    w.key("persons");
    w.beginArray();
    for (const auto& p : d.reg.persons) {
        person(w, p);
    }
    w.endArray();
    w.key("families");
    w.beginArray();
    for (const auto& f : d.reg.families) {
        family(w, f);
    }
    w.endArray();
    w.key("settings");
    settings(w, d);
    w.endObject();
    return w.str() + "\n";
}

} // namespace core
