#include "converter/person_register.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/line_forms.h"
#include "common/person_fields.h"
#include "common/text.h"
#include "converter/files.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace converter {

bool PersonRegister::hasLinkFields() const {
    return current && version >= kLinkFieldsVersion;
}

namespace {

// One "key,value" line whose value is an integer.
long keyedInteger(common::ItemReader& in) {
    in.rawItem();
    return in.longItem();
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

// The fields of a record in file order, and the generation of a layout.
constexpr const auto& kFields = common::kPersonFields<当事者>;

common::PersonRegisterGeneration generation(const RegisterLayout& layout) {
    using G = common::PersonRegisterGeneration;
    return layout.hasLinkFields() ? G::Linked : layout.current ? G::Versioned : G::Old;
}

} // namespace

bool RegisterLayout::hasLinkFields() const {
    return current && version >= kLinkFieldsVersion;
}

RegisterLayout PersonRegister::layout() const {
    RegisterLayout l;
    l.header = header;
    l.current = current;
    l.version = version;
    l.count = count();
    return l;
}

RegisterLayout parseLayout(std::string_view first, const std::string& name) {
    RegisterLayout layout;
    // "最大当事者数%=," and the header value, kept exactly as it stands.
    const std::size_t comma = first.find(',');
    if (comma == std::string_view::npos) {
        throw common::FileError("「" + name +
                                "」の 1 行目を読めません：「最大当事者数%=,」で始まっていません");
    }
    try {
        layout.header = common::decodeCp932(first.substr(comma + 1));
    } catch (const common::Cp932Error&) {
        throw common::FileError("「" + name +
                                "」の 1 行目を読めません：Shift-JISとして読めない文字があります");
    }
    const std::string& header = layout.header;
    std::string countText = header;
    const std::size_t v = header.find('V');
    if (v != std::string::npos) {
        layout.current = true;
        countText = header.substr(0, v);
        long version = 0;
        if (!parseLong(header.substr(v + 1), version) || version < 0) {
            throw common::FileError("「" + name + "」の 1 行目を読めません：版「" +
                                    header.substr(v) + "」が正しくありません");
        }
        layout.version = static_cast<int>(version);
    }
    if (!parseLong(countText, layout.count) || layout.count < 0) {
        throw common::FileError("「" + name + "」の 1 行目を読めません：人数「" + countText +
                                "」が正しくありません");
    }
    return layout;
}

RegisterLayout readLayout(const std::filesystem::path& folder) {
    const auto file = folder / kPersonFile;
    std::ifstream in(file, std::ios::binary);
    std::string first;
    if (!in || !std::getline(in, first)) {
        // The whole-file reader gives the message (cannot open, empty file).
        common::ItemReader(common::readFile(file), std::string(kPersonFile)).rawLine();
    }
    if (!first.empty() && first.back() == '\r') {
        first.pop_back();
    }
    return parseLayout(first, std::string(kPersonFile));
}

PersonReader::PersonReader(std::string bytes, std::string fileName)
    : in_(std::move(bytes), std::move(fileName)) {
    layout_ = parseLayout(in_.rawLine(), in_.fileName());
    // The count is checked against what the file can hold before anything is made for it:
    // an empty line and a key and a value for each field.
    const long fields = common::personFieldCount<当事者>(generation(layout_));
    in_.requireItems(layout_.count, 1 + 2 * fields, "人数");
}

bool PersonReader::next(当事者& p) {
    if (read_ >= layout_.count) {
        return false;
    }
    const long i = ++read_;
    common::ItemReader& in = in_;
    in.rawLine(); // the empty line before each record
    const auto fieldsIn = generation(layout_);
    for (const auto& field : kFields) {
        const bool present = field.in(fieldsIn);
        if (field.kind == common::PersonFieldKind::Text) {
            p.*field.text = present ? keyedText(in) : std::string();
        } else {
            p.*field.integer = present ? keyedInteger(in) : 0;
        }
    }
    if (!layout_.hasLinkFields()) {
        p.C_当事者NO = i;
    }
    return true;
}

PersonRegister parsePersonRegister(std::string bytes, const std::string& fileName) {
    const long bytesSize = static_cast<long>(bytes.size());
    PersonReader reader(std::move(bytes), fileName);
    PersonRegister reg;
    reg.header = reader.layout().header;
    reg.current = reader.layout().current;
    reg.version = reader.layout().version;
    // A record takes well over 100 bytes, so a count larger than the file can hold reserves
    // no more than the file could fill; such a file is reported as truncated.
    reg.persons.reserve(
        static_cast<std::size_t>(std::min<long>(reader.layout().count, bytesSize / 100)));
    for (;;) {
        当事者& p = reg.persons.emplace_back();
        if (!reader.next(p)) {
            reg.persons.pop_back();
            break;
        }
        if (!reg.current) {
            reg.largest住所 = std::max(reg.largest住所, common::charCount(p.住所1));
            reg.largest本籍 = std::max(reg.largest本籍, common::charCount(p.本籍1));
        }
    }
    return reg;
}

std::vector<long> readNameOrder(const std::filesystem::path& folder, long count) {
    std::vector<long> order;
    if (count < 0) {
        count = 0;
    }
    const auto file = folder / kNameOrderFile;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        order.assign(static_cast<std::size_t>(count), 0);
        return order;
    }
    return parseNameOrder(common::readFile(file), count);
}

std::vector<long> parseNameOrder(std::string bytes, long count) {
    common::ItemReader in(std::move(bytes), std::string(kNameOrderFile));
    in.requireItems(count, 2, "当事者の数");
    std::vector<long> order;
    order.reserve(static_cast<std::size_t>(std::max(0L, count)));
    for (long i = 0; i < count; ++i) {
        order.push_back(keyedInteger(in));
    }
    return order;
}

std::string companionBytes(const std::vector<long>& values) {
    static const std::string key = common::encodeCp932("当事者NO%(");
    std::string out;
    out.reserve(values.size() * 24);
    long i = 0;
    for (long v : values) {
        out += key;
        out += std::to_string(++i);
        out += ")=,";
        out += common::formatInteger(v);
        out += "\r\n";
    }
    return out;
}

PersonRegister readPersonRegister(const std::filesystem::path& folder) {
    PersonRegister reg =
        parsePersonRegister(common::readFile(folder / kPersonFile), std::string(kPersonFile));
    const auto order = readNameOrder(folder, reg.count());
    for (std::size_t i = 0; i < reg.persons.size(); ++i) {
        reg.persons[i].姓名順 = order[i];
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
    void integer(const std::string& key, long i, long value) {
        index(key, i);
        out_ += common::formatInteger(value);
        out_ += "\r\n";
    }
    void text(const std::string& key, std::string_view keyUtf8, long i, const std::string& value) {
        index(key, i);
        if (!common::readsBackUnquoted(value)) {
            refuse(keyUtf8, i, value);
        }
        if (std::all_of(value.begin(), value.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            out_ += value; // ASCII is the same in Shift-JIS
        } else {
            try {
                out_ += common::encodeCp932(value);
            } catch (const common::Cp932Error&) {
                refuse(keyUtf8, i, value);
            }
        }
        out_ += "\r\n";
    }
    std::string take() { return std::move(out_); }

private:
    [[noreturn]] static void refuse(std::string_view keyUtf8, long i, const std::string& value) {
        common::LineWriter(std::string(kPersonFile)).text(numbered(keyUtf8, i), value);
        throw std::logic_error("LineWriter accepted a value it must refuse"); // not reached
    }
    void index(const std::string& key, long i) {
        out_ += key;
        char digits[24];
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

struct PersonWriter::Impl {
    Impl(const RegisterLayout& l, std::size_t expected) : layout(l), out(expected) {}
    RegisterLayout layout;
    RegisterBytes out;
    long written = 0;
};

PersonWriter::PersonWriter(const RegisterLayout& layout, std::size_t expected)
    : impl_(std::make_unique<Impl>(layout, expected)) {
    impl_->out.line("最大当事者数%=," + layout.header);
}

PersonWriter::~PersonWriter() = default;

void PersonWriter::add(const 当事者& p) {
    // Each field's key in both generations, encoded once.
    static const std::vector<std::pair<Key, Key>> keys = [] {
        std::vector<std::pair<Key, Key>> k;
        for (const auto& field : kFields) {
            k.emplace_back(Key(field.key), Key(field.keyIn(common::PersonRegisterGeneration::Old)));
        }
        return k;
    }();
    RegisterBytes& out = impl_->out;
    const auto fieldsIn = generation(impl_->layout);
    const long i = ++impl_->written;
    out.line("");
    for (std::size_t n = 0; n < kFields.size(); ++n) {
        const auto& field = kFields[n];
        if (!field.in(fieldsIn)) {
            continue;
        }
        const Key& k = impl_->layout.current ? keys[n].first : keys[n].second;
        if (field.kind == common::PersonFieldKind::Text) {
            out.text(k.cp932, k.utf8, i, p.*field.text);
        } else {
            out.integer(k.cp932, i, p.*field.integer);
        }
    }
}

std::string PersonWriter::take() {
    return impl_->out.take();
}

std::string personRegisterBytes(const PersonRegister& reg) {
    PersonWriter out(reg.layout(), reg.persons.size());
    for (const auto& p : reg.persons) {
        out.add(p);
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
