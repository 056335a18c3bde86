#include "converter/person_register.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/line_forms.h"
#include "common/text.h"
#include "converter/files.h"

#include <charconv>
#include <climits>
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
    // The vector grows as records are read, so a count larger than the file is reported as
    // a truncated file rather than reserving memory for it.
    for (long i = 1; i <= count; ++i) {
        当事者 p;
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
        reg.persons.push_back(std::move(p));
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

std::string personRegisterBytes(const PersonRegister& reg) {
    common::LineWriter out{std::string(kPersonFile)};
    out.line("最大当事者数%=," + reg.header);
    const bool links = reg.hasLinkFields();
    const std::string_view address1 = reg.current ? "住所1$(" : "住所$(";
    const std::string_view domicile1 = reg.current ? "本籍1$(" : "本籍$(";
    int i = 0;
    for (const auto& p : reg.persons) {
        ++i;
        out.line("");
        out.integer(numbered("当事者NO%(", i), p.当事者NO);
        out.integer(numbered("実父NO%(", i), p.実父NO);
        out.integer(numbered("実母NO%(", i), p.実母NO);
        out.integer(numbered("父母家族NO%(", i), p.父母家族NO);
        out.integer(numbered("子孫_F%(", i), p.子孫_F);
        out.integer(numbered("男女%(", i), p.男女);
        out.text(numbered("姓$(", i), p.姓);
        out.text(numbered("名$(", i), p.名);
        out.text(numbered(address1, i), p.住所1);
        if (reg.current) {
            out.text(numbered("住所2$(", i), p.住所2);
        }
        out.text(numbered(domicile1, i), p.本籍1);
        if (reg.current) {
            out.text(numbered("本籍2$(", i), p.本籍2);
        }
        out.text(numbered("生年月日$(", i), p.生年月日);
        out.text(numbered("死亡年月日$(", i), p.死亡年月日);
        out.text(numbered("備考1$(", i), p.備考1);
        out.text(numbered("備考2$(", i), p.備考2);
        if (links) {
            out.integer(numbered("C_当事者NO%(", i), p.C_当事者NO);
            out.integer(numbered("子孫_FL%(", i), p.子孫_FL);
            out.integer(numbered("当姓%(", i), p.当姓);
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
