#include "common/line_forms.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/text.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

namespace common {

std::string formatInteger(long value) {
    std::string s = value < 0 ? "-" : " ";
    s += std::to_string(value < 0 ? -value : value);
    s += ' ';
    return s;
}

std::string formatNumber(float value) {
    // The range is checked before the conversion: a float beyond long's range (a settings
    // file may hold "1e20") must not reach static_cast<long>.
    if (value > -1e9f && value < 1e9f && value == static_cast<float>(static_cast<long>(value))) {
        return formatInteger(static_cast<long>(value));
    }
    char buf[64];
    const float magnitude = value < 0 ? -value : value;
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, magnitude);
    std::string digits(buf, end);
    if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
        digits.erase(0, 1);
    }
    return (value < 0 ? "-" : " ") + digits + " ";
}

namespace {

std::string_view trimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return s;
}

} // namespace

namespace {

// A whole integer text with surrounding spaces within low..high; empty is 0.
bool parseWhole(std::string_view text, long low, long high, long& value) {
    text = trimSpaces(text);
    if (text.empty()) {
        value = 0;
        return true;
    }
    if (text.front() == '+') {
        text.remove_prefix(1);
    }
    long long v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || ptr != text.data() + text.size() || v < low || v > high) {
        return false;
    }
    value = static_cast<long>(v);
    return true;
}

} // namespace

bool parseInteger16(std::string_view text, std::int16_t& value) {
    long v = 0;
    if (!parseWhole(text, -32768, 32767, v)) {
        return false;
    }
    value = static_cast<std::int16_t>(v);
    return true;
}

bool parseLong(std::string_view text, long& value) {
    return parseWhole(text, std::numeric_limits<std::int32_t>::min(),
                      std::numeric_limits<std::int32_t>::max(), value);
}

bool parseNumber(std::string_view text, float& value) {
    text = trimSpaces(text);
    if (text.empty()) {
        value = 0;
        return true;
    }
    std::string s(text);
    bool negative = false;
    std::size_t i = 0;
    if (s[0] == '-' || s[0] == '+') {
        negative = s[0] == '-';
        i = 1;
    }
    std::string body = s.substr(i);
    if (!body.empty() && body[0] == '.') {
        body.insert(0, "0"); // ".5" as written by the classic number form
    }
    float v = 0;
    auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), v);
    if (body.empty() || ec != std::errc() || ptr != body.data() + body.size()) {
        return false;
    }
    value = negative ? -v : v;
    return true;
}

std::string LineWriter::encode(std::string_view key, std::string_view utf8) const {
    try {
        return encodeCp932(utf8);
    } catch (const Cp932Error& e) {
        refuse(key, utf8, e.what());
    }
}

void LineWriter::refuse(std::string_view key, std::string_view value,
                        const std::string& why) const {
    std::string k(key);
    while (!k.empty() && (k.back() == ',' || k.back() == '=')) {
        k.pop_back();
    }
    throw FileError("「" + fileName_ + "」を保存できません：" + k + " の値「" + std::string(value) +
                    "」は" + why + "。元のファイルはそのままです。");
}

void LineWriter::line(std::string_view utf8) {
    bytes_ += encode(utf8, utf8);
    bytes_ += "\r\n";
}

void LineWriter::integer(std::string_view key, long value) {
    bytes_ += encode(key, key);
    bytes_ += formatInteger(value);
    bytes_ += "\r\n";
}

void LineWriter::number(std::string_view key, float value) {
    bytes_ += encode(key, key);
    bytes_ += formatNumber(value);
    bytes_ += "\r\n";
}

void LineWriter::text(std::string_view key, std::string_view value) {
    if (!readsBackUnquoted(value)) {
        refuse(key, value,
               "読み戻せない文字（半角のカンマ・コロン・改行、先頭の引用符、前後の半角空白）を含み"
               "ます");
    }
    bytes_ += encode(key, key);
    bytes_ += encode(key, value);
    bytes_ += "\r\n";
}

void LineWriter::quotedPair(std::string_view key, std::string_view value, long flag) {
    for (unsigned char c : value) {
        if (c == '"' || c < 0x20) {
            refuse(key, value, "引用符か改行を含みます");
        }
    }
    bytes_ += '"';
    bytes_ += encode(key, value);
    bytes_ += "\",";
    bytes_ += formatInteger(flag);
    bytes_ += "\r\n";
}

ItemReader::ItemReader(std::string bytes, std::string fileName)
    : bytes_(std::move(bytes)), fileName_(std::move(fileName)) {}

bool ItemReader::atEnd() const {
    return pos_ >= bytes_.size();
}

bool ItemReader::hasItems(std::uint64_t needed) const {
    if (atEnd()) {
        return false;
    }
    std::uint64_t ends = 1;
    for (std::size_t i = pos_; i < bytes_.size() && ends < needed; ++i) {
        const char c = bytes_[i];
        ends += (c == ',') | (c == ':') | (c == '\n');
    }
    return ends >= needed;
}

void ItemReader::requireItems(long long count, long long itemsEach, std::string_view what) const {
    if (count <= 0 || itemsEach <= 0) {
        return;
    }
    // Only as far as the items asked for: a family's few children must not scan the rest of
    // the file.
    const auto each = static_cast<std::uint64_t>(itemsEach);
    const auto wanted = static_cast<std::uint64_t>(count);
    const std::uint64_t needed =
        wanted > std::numeric_limits<std::uint64_t>::max() / each ? 0 : wanted * each;
    if (needed == 0 || !hasItems(needed)) {
        fail("ファイルが途中で終わっています（" + std::string(what) + " " + std::to_string(count) +
             " に足りるだけの行がありません）");
    }
}

void ItemReader::fail(const std::string& what) const {
    throw FileError("「" + fileName_ + "」の " + std::to_string(itemLine_) + " 行目を読めません：" +
                    what);
}

void ItemReader::requireData(const char* what) {
    if (atEnd()) {
        fail(std::string("ファイルが途中で終わっています（") + what + "がありません）");
    }
}

std::size_t ItemReader::lineEnd() const {
    std::size_t end = bytes_.find('\n', pos_);
    if (end == std::string::npos) {
        end = bytes_.size();
    }
    if (end > pos_ && bytes_[end - 1] == '\r') {
        --end;
    }
    return end;
}

void ItemReader::nextLine() {
    std::size_t nl = bytes_.find('\n', pos_);
    pos_ = nl == std::string::npos ? bytes_.size() : nl + 1;
    ++line_;
}

std::string_view ItemReader::rawLine() {
    itemLine_ = line_;
    requireData("行");
    const std::size_t end = lineEnd();
    std::string_view line = std::string_view(bytes_).substr(pos_, end - pos_);
    nextLine();
    return line;
}

std::string_view ItemReader::rawItem() {
    itemLine_ = line_;
    requireData("値");
    const std::size_t end = lineEnd();
    while (pos_ < end && bytes_[pos_] == ' ') {
        ++pos_;
    }
    const std::string_view all(bytes_);
    std::string_view item;
    if (pos_ < end && bytes_[pos_] == '"') {
        const std::size_t close = bytes_.find('"', pos_ + 1);
        const std::size_t stop = (close == std::string::npos || close > end) ? end : close;
        item = all.substr(pos_ + 1, stop - pos_ - 1);
        pos_ = stop < end ? stop + 1 : end;
        // Anything between the closing quote and the next separator is dropped.
        while (pos_ < end && bytes_[pos_] != ',' && bytes_[pos_] != ':') {
            ++pos_;
        }
    } else {
        std::size_t stop = pos_;
        while (stop < end && bytes_[stop] != ',' && bytes_[stop] != ':') {
            // A double-byte character's trail byte is never a comma or a colon, so a
            // byte-wise scan is safe for Shift-JIS.
            ++stop;
        }
        item = all.substr(pos_, stop - pos_);
        while (!item.empty() && item.back() == ' ') {
            item.remove_suffix(1);
        }
        pos_ = stop;
    }
    if (pos_ < end) {
        ++pos_; // the separator
        // A separator at the very end of a line leaves an empty item to be read next; the
        // line ends only when that item is read.
    } else {
        nextLine();
    }
    return item;
}

std::string ItemReader::textItem() {
    const std::string_view raw = rawItem();
    try {
        return decodeCp932(raw);
    } catch (const Cp932Error&) {
        fail("Shift-JISとして読めない文字があります");
    }
}

void ItemReader::refuseValue(std::string_view raw, std::string_view kind) const {
    std::string shown;
    try {
        shown = decodeCp932(raw);
    } catch (const Cp932Error&) {
        shown = "?";
    }
    fail(std::string(kind) + "が入るところに「" + shown + "」があります");
}

std::int16_t ItemReader::integerItem() {
    const std::string_view raw = rawItem();
    std::int16_t v = 0;
    if (!parseInteger16(raw, v)) {
        refuseValue(raw, "整数");
    }
    return v;
}

long ItemReader::longItem() {
    const std::string_view raw = rawItem();
    long v = 0;
    if (!parseLong(raw, v)) {
        refuseValue(raw, "整数");
    }
    return v;
}

float ItemReader::numberItem() {
    const std::string_view raw = rawItem();
    float v = 0;
    if (!parseNumber(raw, v)) {
        refuseValue(raw, "数値");
    }
    return v;
}

} // namespace common
