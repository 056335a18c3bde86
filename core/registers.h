// The person and family registers in memory: one record per person and per family, in
// the field order of their files. Person and family numbers are 1-based and equal to
// the record's place; 0 means nobody or none in every reference.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace core {

// The codes of the family register. Each keeps the 16-bit value read from the file, named
// or not, so that a register is written back as it was read; a rule that meets a value
// without a name says how it counts it.

// The line of direct descent of a family (系統_F, "直系の接続選択").
enum class Lineage : std::int16_t {
    Unset = 0,    // "未設定"
    Paternal = 1, // "父系": drawn through the husband
    Maternal = 2, // "母系": drawn through the wife
};

// Whether the lineage names a side: Paternal or Maternal. Where this is asked, any other
// value counts as unset.
constexpr bool isChosen(Lineage lineage) {
    return lineage == Lineage::Paternal || lineage == Lineage::Maternal;
}
// The lineage of a centre on the husband (true) or on the wife.
constexpr Lineage lineageThrough(bool husband) {
    return husband ? Lineage::Paternal : Lineage::Maternal;
}
// Whether a family of `lineage` may be taken through a person on `side` (the person's
// lineage(), below): unset, or that very side. The other side, and a value without a name,
// may not.
constexpr bool admitsSide(Lineage lineage, Lineage side) {
    return lineage == Lineage::Unset || lineage == side;
}

// The form of a couple's union (形態 once confirmed, 形態L3 before).
enum class UnionForm : std::int16_t {
    Marriage = 0,
    NonMarital = 1, // "非婚姻関係": a common-law couple or a single parent
};

// How a child belongs to a family (子の形態).
enum class ChildKind : std::int16_t {
    Birth = 0,          // a child of the couple by birth
    Adopted = 1,        // "養子縁組": with 縁組日
    Acknowledged = 2,   // "認知": acknowledged by the father, with 認知日
    Unacknowledged = 3, // of a non-marital union, not yet acknowledged: the mother's only
};

// The value written into the file.
constexpr std::int16_t fileValue(Lineage v) {
    return static_cast<std::int16_t>(v);
}
constexpr std::int16_t fileValue(UnionForm v) {
    return static_cast<std::int16_t>(v);
}
constexpr std::int16_t fileValue(ChildKind v) {
    return static_cast<std::int16_t>(v);
}

// One person ("当事者") of "当事者目録.TXT", with the two values of its companion files.
struct 当事者 {
    std::int16_t 当事者NO = 0;
    std::int16_t 実父NO = 0;
    std::int16_t 実母NO = 0;
    std::int16_t 父母家族NO = 0; // family of the biological parents
    std::int16_t 子孫_F = 0;     // family in which the person is marked as a descendant
    std::int16_t 男女 = 0;       // 1 male, 2 female; below 2 counts as male
    std::string 姓;
    std::string 名;
    std::string 住所1;
    std::string 住所2;
    std::string 本籍1;
    std::string 本籍2;
    std::string 生年月日;
    std::string 死亡年月日;
    std::string 備考1;
    std::string 備考2;
    std::int16_t C_当事者NO = 0; // link source; the own number when not a link
    std::int16_t 子孫_FL = 0;    // the user's own descendant setting
    std::int16_t 当姓 = 0;       // 1 = surname not shown on the chart
    // "創始階層登録.TXT" and "姓名順.TXT"
    std::int16_t 創始階層 = 0;
    std::int16_t 姓名順 = 0; // 0 surname first, 1 given name first

    // The sex questions, each asked only here. 男女 holds 1 male and 2 female.
    bool isFemale() const { return 男女 >= 2; }         // what most rules ask: from 2 on
    bool isMale() const { return !isFemale(); }         // below 2, 0 included
    bool isRecordedFemale() const { return 男女 == 2; } // exactly female: the wife choices
    bool isRecordedMale() const { return 男女 == 1; }   // exactly male
    bool hasRecordedSex() const { return isRecordedMale() || isRecordedFemale(); }
    // The side of the families taken through this person: Paternal for a man, Maternal for
    // a woman, as isFemale() decides.
    Lineage lineage() const { return isFemale() ? Lineage::Maternal : Lineage::Paternal; }
    void setSex(bool female) { 男女 = female ? 2 : 1; }
    bool operator==(const 当事者&) const = default;
};

// One child slot of a family.
struct Child {
    std::int16_t 子NO = 0;
    std::string 子の肩書;
    ChildKind 子の形態 = ChildKind::Birth;
    std::string 縁組日; // kept in the file only for an Adopted child
    std::string 認知日; // kept in the file only for an Acknowledged child
    bool operator==(const Child&) const = default;
};

// One family ("家族"): a marriage or partnership and its ordered children.
struct 家族 {
    std::int16_t 夫婦確定_f = 0;
    std::int16_t 婚姻NO = 0;
    UnionForm 形態 = UnionForm::Marriage;   // of a confirmed couple
    UnionForm 形態L3 = UnionForm::Marriage; // while the couple is not confirmed
    std::int16_t 夫NO = 0;
    std::int16_t 妻NO = 0;
    std::string 夫肩書;
    std::string 妻肩書;
    std::int16_t 配偶者非表示_F = 0;
    std::int16_t 配偶者姓F = 0;
    Lineage 系統_F = Lineage::Unset;
    std::int16_t 離婚_F = 0;
    std::string 離婚年月日; // kept in the file only when 離婚_F is 1
    std::vector<Child> 子;  // positions 1..子数 are 子[0..子数-1]

    int 子数() const { return static_cast<int>(子.size()); }
    Child& child(int position) { return 子.at(static_cast<std::size_t>(position - 1)); }
    const Child& child(int position) const { return 子.at(static_cast<std::size_t>(position - 1)); }
    bool operator==(const 家族&) const = default;
};

struct Registers {
    std::vector<当事者> persons; // person n is persons[n - 1]
    std::vector<家族> families;  // family n is families[n - 1]

    int personCount() const { return static_cast<int>(persons.size()); }
    int familyCount() const { return static_cast<int>(families.size()); }
    当事者& person(int n) { return persons.at(static_cast<std::size_t>(n - 1)); }
    const 当事者& person(int n) const { return persons.at(static_cast<std::size_t>(n - 1)); }
    家族& family(int n) { return families.at(static_cast<std::size_t>(n - 1)); }
    const 家族& family(int n) const { return families.at(static_cast<std::size_t>(n - 1)); }

    bool operator==(const Registers&) const = default;
};

} // namespace core
