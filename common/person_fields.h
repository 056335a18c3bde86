// The fields of a person record of "当事者目録.TXT" in file order: the one list of its keys
// and kinds that both programs' readers and writers go through.
//
// A record is an empty line and then one line per field, the key, the person's number, ")=,"
// and the value ("姓$(12)=,山田"). Which fields a record has depends on the generation of the
// register, which its first line gives: an old register (no "V" in the header) has one
// address and one domicile, under the keys "住所$(" and "本籍$("; a versioned one has two of
// each; from version 200 on the three link fields follow 備考2$.
//
// The table is a template over the record, so that tsubaki's core::当事者 (16-bit integers)
// and mokuren's converter::当事者 (32-bit) each bind their own members; both name their
// members after the keys.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace common {

// The version from which a register carries C_当事者NO%, 子孫_FL% and 当姓%.
inline constexpr int kPersonLinkFieldsVersion = 200;

// In the order in which each adds fields to the one before.
enum class PersonRegisterGeneration {
    Old,       // no version in the header: 14 fields, one address and one domicile
    Versioned, // "V" and a version below 200: 16 fields
    Linked,    // version 200 and later: 19 fields
};

constexpr PersonRegisterGeneration personRegisterGeneration(bool versioned, int version) {
    if (!versioned) {
        return PersonRegisterGeneration::Old;
    }
    return version >= kPersonLinkFieldsVersion ? PersonRegisterGeneration::Linked
                                               : PersonRegisterGeneration::Versioned;
}

enum class PersonFieldKind { Integer, Text };

// One field of `Record`, whose integers are of type `Integer`.
template <class Record, class Integer> struct PersonField {
    std::string_view key;    // up to the person's number: "当事者NO%("
    std::string_view oldKey; // the key in an old register where it differs, else empty
    PersonFieldKind kind;
    PersonRegisterGeneration since; // the first generation that has the field
    Integer Record::*integer;       // the member of an Integer field, else null
    std::string Record::*text;      // the member of a Text field, else null

    bool in(PersonRegisterGeneration generation) const { return generation >= since; }
    std::string_view keyIn(PersonRegisterGeneration generation) const {
        return generation == PersonRegisterGeneration::Old && !oldKey.empty() ? oldKey : key;
    }
};

template <class Record, class Integer = decltype(Record::当事者NO)>
inline constexpr std::array<PersonField<Record, Integer>, 19> kPersonFields = [] {
    using R = Record;
    constexpr auto I = PersonFieldKind::Integer;
    constexpr auto T = PersonFieldKind::Text;
    constexpr auto old = PersonRegisterGeneration::Old;
    constexpr auto versioned = PersonRegisterGeneration::Versioned;
    constexpr auto linked = PersonRegisterGeneration::Linked;
    return std::array<PersonField<Record, Integer>, 19>{{
        // key, the old key, kind, the first generation, member
        {"当事者NO%(", {}, I, old, &R::当事者NO, nullptr},
        {"実父NO%(", {}, I, old, &R::実父NO, nullptr},
        {"実母NO%(", {}, I, old, &R::実母NO, nullptr},
        {"父母家族NO%(", {}, I, old, &R::父母家族NO, nullptr},
        {"子孫_F%(", {}, I, old, &R::子孫_F, nullptr},
        {"男女%(", {}, I, old, &R::男女, nullptr},
        {"姓$(", {}, T, old, nullptr, &R::姓},
        {"名$(", {}, T, old, nullptr, &R::名},
        {"住所1$(", "住所$(", T, old, nullptr, &R::住所1},
        {"住所2$(", {}, T, versioned, nullptr, &R::住所2},
        {"本籍1$(", "本籍$(", T, old, nullptr, &R::本籍1},
        {"本籍2$(", {}, T, versioned, nullptr, &R::本籍2},
        {"生年月日$(", {}, T, old, nullptr, &R::生年月日},
        {"死亡年月日$(", {}, T, old, nullptr, &R::死亡年月日},
        {"備考1$(", {}, T, old, nullptr, &R::備考1},
        {"備考2$(", {}, T, old, nullptr, &R::備考2},
        {"C_当事者NO%(", {}, I, linked, &R::C_当事者NO, nullptr},
        {"子孫_FL%(", {}, I, linked, &R::子孫_FL, nullptr},
        {"当姓%(", {}, I, linked, &R::当姓, nullptr},
    }};
}();

// The number of fields of a record in `generation`: 14, 16 or 19.
template <class Record> constexpr int personFieldCount(PersonRegisterGeneration generation) {
    int n = 0;
    for (const auto& field : kPersonFields<Record>) {
        n += field.in(generation) ? 1 : 0;
    }
    return n;
}

} // namespace common
