#include "converter/person_register.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/line_forms.h"
#include "common/text.h"
#include "converter/files.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <stdexcept>
#include <system_error>

namespace converter {

bool PersonRegister::hasLinkFields() const {
    return current && version >= kLinkFieldsVersion;
}

bool parseLong(std::string_view text, long& value) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        value = 0;
        return true;
    }
    if (text.front() == '+') {
        text.remove_prefix(1);
    }
    long long v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || ptr != text.data() + text.size() || v < INT_MIN || v > INT_MAX) {
        return false;
    }
    value = static_cast<long>(v);
    return true;
}

namespace {

// One "key,value" line whose value is an integer.
long keyedInteger(common::ItemReader& in) {
    in.rawItem();
    const std::string_view raw = in.rawItem();
    long v = 0;
    if (!parseLong(raw, v)) {
        std::string shown;
        try {
            shown = common::decodeCp932(raw);
        } catch (const common::Cp932Error&) {
            shown = "?";
        }
        in.fail("整数が入るところに「" + shown + "」があります");
    }
    return v;
}

// One "key,value" line whose value is a text.
std::string keyedText(common::ItemReader& in) {
    in.rawItem();
    return in.textItem();
}

std::string numbered(std::string_view key, int i) {
    std::string s(key);
    s += std::to_string(i);
    s += ")=,";
    return s;
}

} // namespace

PersonRegister parsePersonRegister(std::string bytes, const std::string& fileName) {
    const long bytesSize = static_cast<long>(bytes.size());
    common::ItemReader in(std::move(bytes), fileName);
    PersonRegister reg;

    // Line 1: "最大当事者数%=," and the header value, kept exactly as it stands.
    const std::string_view first = in.rawLine();
    const std::size_t comma = first.find(',');
    if (comma == std::string_view::npos) {
        throw common::FileError("「" + fileName +
                                "」の 1 行目を読めません：「最大当事者数%=,」で始まっていません");
    }
    try {
        reg.header = common::decodeCp932(first.substr(comma + 1));
    } catch (const common::Cp932Error&) {
        throw common::FileError("「" + fileName +
                                "」の 1 行目を読めません：Shift-JISとして読めない文字があります");
    }
    std::string countText = reg.header;
    const std::size_t v = reg.header.find('V');
    if (v != std::string::npos) {
        reg.current = true;
        countText = reg.header.substr(0, v);
        long version = 0;
        if (!parseLong(reg.header.substr(v + 1), version) || version < 0) {
            throw common::FileError("「" + fileName + "」の 1 行目を読めません：版「" +
                                    reg.header.substr(v) + "」が正しくありません");
        }
        reg.version = static_cast<int>(version);
    }
    long count = 0;
    if (!parseLong(countText, count) || count < 0) {
        throw common::FileError("「" + fileName + "」の 1 行目を読めません：人数「" + countText +
                                "」が正しくありません");
    }

    const bool links = reg.hasLinkFields();
    // A record takes well over 100 bytes, so a count larger than the file can hold reserves
    // no more than the file could fill; such a file is reported as truncated.
    reg.persons.reserve(static_cast<std::size_t>(std::min<long>(count, bytesSize / 100)));
    for (long i = 1; i <= count; ++i) {
        当事者& p = reg.persons.emplace_back();
        in.rawLine(); // the empty line before each record
        p.当事者NO = keyedInteger(in);
        p.実父NO = keyedInteger(in);
        p.実母NO = keyedInteger(in);
        p.父母家族NO = keyedInteger(in);
        p.子孫_F = keyedInteger(in);
        p.男女 = keyedInteger(in);
        p.姓 = keyedText(in);
        p.名 = keyedText(in);
        p.住所1 = keyedText(in);
        if (reg.current) {
            p.住所2 = keyedText(in);
        }
        p.本籍1 = keyedText(in);
        if (reg.current) {
            p.本籍2 = keyedText(in);
        }
        p.生年月日 = keyedText(in);
        p.死亡年月日 = keyedText(in);
        p.備考1 = keyedText(in);
        p.備考2 = keyedText(in);
        if (links) {
            p.C_当事者NO = keyedInteger(in);
            p.子孫_FL = keyedInteger(in);
            p.当姓 = keyedInteger(in);
        } else {
            p.C_当事者NO = i;
        }
        if (!reg.current) {
            reg.largest住所 = std::max(reg.largest住所, common::charCount(p.住所1));
            reg.largest本籍 = std::max(reg.largest本籍, common::charCount(p.本籍1));
        }
    }
    return reg;
}

PersonRegister readPersonRegister(const std::filesystem::path& folder) {
    PersonRegister reg =
        parsePersonRegister(common::readFile(folder / kPersonFile), std::string(kPersonFile));
    const auto orderFile = folder / kNameOrderFile;
    std::error_code ec;
    if (std::filesystem::exists(orderFile, ec)) {
        common::ItemReader in(common::readFile(orderFile), std::string(kNameOrderFile));
        for (auto& p : reg.persons) {
            p.姓名順 = keyedInteger(in);
        }
    }
    return reg;
}

namespace {

// Writes register lines straight into Shift-JIS bytes: the keys are encoded once, numbers
// are ASCII, and only text values go through the codec. A text that would not read back
// is handed to common::LineWriter, whose refusal names the file and the key.
class RegisterBytes {
public:
    explicit RegisterBytes(std::size_t persons) { out_.reserve(persons * 520 + 64); }

    void line(std::string_view utf8) {
        out_ += common::encodeCp932(utf8);
        out_ += "\r\n";
    }
    void integer(const std::string& key, int i, long value) {
        index(key, i);
        out_ += common::formatInteger(value);
        out_ += "\r\n";
    }
    void text(const std::string& key, std::string_view keyUtf8, int i, const std::string& value) {
        index(key, i);
        if (!common::readsBackUnquoted(value)) {
            refuse(keyUtf8, i, value);
        }
        try {
            out_ += common::encodeCp932(value);
        } catch (const common::Cp932Error&) {
            refuse(keyUtf8, i, value);
        }
        out_ += "\r\n";
    }
    std::string take() { return std::move(out_); }

private:
    [[noreturn]] static void refuse(std::string_view keyUtf8, int i, const std::string& value) {
        common::LineWriter(std::string(kPersonFile)).text(numbered(keyUtf8, i), value);
        throw std::logic_error("LineWriter accepted a value it must refuse"); // not reached
    }
    void index(const std::string& key, int i) {
        out_ += key;
        char digits[16];
        auto [end, ec] = std::to_chars(digits, digits + sizeof digits, i);
        out_.append(digits, end);
        out_ += ")=,";
    }
    std::string out_;
};

struct Key {
    explicit Key(std::string_view utf8) : utf8(utf8), cp932(common::encodeCp932(utf8)) {}
    std::string_view utf8;
    std::string cp932;
};

} // namespace

std::string personRegisterBytes(const PersonRegister& reg) {
    static const Key no("当事者NO%("), father("実父NO%("), mother("実母NO%("),
        family("父母家族NO%("), descendant("子孫_F%("), sex("男女%("), surname("姓$("),
        given("名$("), address1("住所1$("), address("住所$("), address2("住所2$("),
        domicile1("本籍1$("), domicile("本籍$("), domicile2("本籍2$("), birth("生年月日$("),
        death("死亡年月日$("), note1("備考1$("), note2("備考2$("), source("C_当事者NO%("),
        descendantL("子孫_FL%("), hidden("当姓%(");
    RegisterBytes out(reg.persons.size());
    out.line("最大当事者数%=," + reg.header);
    const bool links = reg.hasLinkFields();
    const Key& firstAddress = reg.current ? address1 : address;
    const Key& firstDomicile = reg.current ? domicile1 : domicile;
    auto text = [&](const Key& k, int i, const std::string& v) { out.text(k.cp932, k.utf8, i, v); };
    int i = 0;
    for (const auto& p : reg.persons) {
        ++i;
        out.line("");
        out.integer(no.cp932, i, p.当事者NO);
        out.integer(father.cp932, i, p.実父NO);
        out.integer(mother.cp932, i, p.実母NO);
        out.integer(family.cp932, i, p.父母家族NO);
        out.integer(descendant.cp932, i, p.子孫_F);
        out.integer(sex.cp932, i, p.男女);
        text(surname, i, p.姓);
        text(given, i, p.名);
        text(firstAddress, i, p.住所1);
        if (reg.current) {
            text(address2, i, p.住所2);
        }
        text(firstDomicile, i, p.本籍1);
        if (reg.current) {
            text(domicile2, i, p.本籍2);
        }
        text(birth, i, p.生年月日);
        text(death, i, p.死亡年月日);
        text(note1, i, p.備考1);
        text(note2, i, p.備考2);
        if (links) {
            out.integer(source.cp932, i, p.C_当事者NO);
            out.integer(descendantL.cp932, i, p.子孫_FL);
            out.integer(hidden.cp932, i, p.当姓);
        }
    }
    return out.take();
}

PersonRegister currentRegister(std::vector<当事者> persons) {
    PersonRegister reg;
    reg.current = true;
    reg.version = 220;
    reg.header =
        common::formatInteger(static_cast<long>(persons.size())) + std::string(kVersionText);
    reg.persons = std::move(persons);
    return reg;
}

} // namespace converter
