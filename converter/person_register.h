// mokuren's view of "当事者目録.TXT": the persons with their header as read, in either
// generation of the file, and the writer that puts a register back in the same form.
//
// mokuren never interprets person or family numbers; it keeps them as read (32-bit, so
// that it also handles registers larger than the chart editor's 16-bit person numbers)
// and writes them back unchanged. Texts are kept exactly as read (no full-width
// conversion): what is written back is what was there.
#pragma once

#include "common/line_forms.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace converter {

// One person of the register, fields in file order, with 姓名順 of "姓名順.TXT".
struct 当事者 {
    long 当事者NO = 0;
    long 実父NO = 0;
    long 実母NO = 0;
    long 父母家族NO = 0;
    long 子孫_F = 0;
    long 男女 = 0; // 1 male, 2 female; below 2 counts as male
    std::string 姓;
    std::string 名;
    std::string 住所1; // old registers: the one address ("住所$(")
    std::string 住所2;
    std::string 本籍1; // old registers: the one domicile ("本籍$(")
    std::string 本籍2;
    std::string 生年月日;
    std::string 死亡年月日;
    std::string 備考1;
    std::string 備考2;
    long C_当事者NO = 0;
    long 子孫_FL = 0;
    long 当姓 = 0;
    long 姓名順 = 0; // 0 surname first, 1 given name first

    bool isFemale() const { return 男女 >= 2; }
    bool operator==(const 当事者&) const = default;
};

// The layout of a register as its first line gives it.
struct RegisterLayout {
    std::string header; // the value after "最大当事者数%=,", exactly as read
    bool current = false;
    int version = 0;
    long count = 0; // persons, as the header says
    bool hasLinkFields() const;
};

struct PersonRegister {
    // The value of the first line after "最大当事者数%=,", exactly as read ("20 V220",
    // " 5 " for an old register), written back unchanged by the masking.
    std::string header;
    // Current generation: the header carries "V" and a version; two address and two
    // domicile lines per person. Old generation: one of each.
    bool current = false;
    int version = 0; // the number after "V"; 0 for an old register
    std::vector<当事者> persons;
    // Old registers: the largest character counts of 住所1 and 本籍1 (the export form
    // proposes them as the limits).
    std::size_t largest住所 = 0;
    std::size_t largest本籍 = 0;

    // C_当事者NO%, 子孫_FL% and 当姓% follow 備考2$ from version 200 on.
    bool hasLinkFields() const;
    int count() const { return static_cast<int>(persons.size()); }
    RegisterLayout layout() const;
};

// The layout from the first line of a register ("最大当事者数%=," and its value). Throws
// common::FileError naming `fileName` and line 1.
RegisterLayout parseLayout(std::string_view firstLine, const std::string& fileName);
// The layout of the register of `folder`, reading only its first line.
RegisterLayout readLayout(const std::filesystem::path& folder);

// Reads "当事者目録.TXT" one record at a time, so that a job can go through a large register
// without holding it. Every failure throws common::FileError naming the file and the line.
class PersonReader {
public:
    // Reads the first line.
    PersonReader(std::string bytes, std::string fileName);

    const RegisterLayout& layout() const { return layout_; }
    // Reads the next record into `p` (姓名順 is left as it is); false after the last one.
    bool next(当事者& p);

private:
    common::ItemReader in_;
    RegisterLayout layout_;
    long read_ = 0;
};

// Builds the bytes of a register one record at a time, in the layout given.
class PersonWriter {
public:
    // `expected` persons size the buffer.
    PersonWriter(const RegisterLayout& layout, std::size_t expected);
    ~PersonWriter();
    PersonWriter(const PersonWriter&) = delete;
    PersonWriter& operator=(const PersonWriter&) = delete;

    // Appends the next record. Throws common::FileError for a text that would not read back.
    void add(const 当事者& p);
    std::string take();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// 姓名順 of `count` persons from "姓名順.TXT" of `folder` (all 0 when there is no file;
// `count` comes from a register already checked against its file).
std::vector<long> readNameOrder(const std::filesystem::path& folder, long count);
// 姓名順 of `count` persons from the bytes of "姓名順.TXT". Throws common::FileError naming
// the line.
std::vector<long> parseNameOrder(std::string bytes, long count);

// The bytes of a companion file of the register ("創始階層登録.TXT", "姓名順.TXT"): one line
// "当事者NO%(i)=," and the value per person.
std::string companionBytes(const std::vector<long>& values);

// Parses the bytes of "当事者目録.TXT". Throws common::FileError naming `fileName` and the
// line for anything that cannot be read (a count that is not a number, a truncated file, a
// text that is not Shift-JIS, a non-numeric integer).
PersonRegister parsePersonRegister(std::string bytes, const std::string& fileName);

// Reads "当事者目録.TXT" of `folder` and, when it exists, 姓名順 from "姓名順.TXT".
PersonRegister readPersonRegister(const std::filesystem::path& folder);

// The bytes of the register in its own generation: "最大当事者数%=," + header, then per
// person an empty line and the fields as key, number, ")=," and value. Old registers use
// the keys "住所$(" and "本籍$(". Throws common::FileError for a text that would not read
// back (see common::LineWriter).
std::string personRegisterBytes(const PersonRegister& reg);

// A register of the current generation (V220, link fields) for `persons`, as an import
// writes it: the header is the person count and the version tag.
PersonRegister currentRegister(std::vector<当事者> persons);

using common::parseLong;

} // namespace converter
