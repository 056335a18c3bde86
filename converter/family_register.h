// mokuren's view of "家族目録.TXT": the families with their children, read in the current or
// the older layout, and written in the current one. Numbers are kept as read; texts exactly
// as read (the register holds them already full-width).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace converter {

struct 家族の子 {
    long 子NO = 0;
    std::string 子の肩書;
    long 子の形態 = 0;  // 0 by birth, 1 adopted, 2 acknowledged, 3 not yet acknowledged
    std::string 縁組日; // kept in the file only when 子の形態 is 1
    std::string 認知日; // kept in the file only when 子の形態 is 2
    bool operator==(const 家族の子&) const = default;
};

struct 家族 {
    long 夫婦確定_f = 0;
    long 婚姻NO = 0;
    long 形態 = 0;   // confirmed couple: 1 non-marital, 0 marriage
    long 形態L3 = 0; // unconfirmed couple: 1 non-marital, 0 marriage
    long 夫NO = 0;
    long 妻NO = 0;
    std::string 夫肩書;
    std::string 妻肩書;
    long 配偶者非表示_F = 0;
    long 配偶者姓F = 0;
    long 系統_F = 0; // 0 not set, 1 through the father, 2 through the mother
    long 離婚_F = 0;
    std::string 離婚年月日; // kept in the file only when 離婚_F is 1
    std::vector<家族の子> 子;

    // The form of the union as the family form shows it: the confirmed kind once the
    // couple is confirmed, else the kind that follows the partners present.
    bool nonMarital() const { return (夫婦確定_f == 1 ? 形態 : 形態L3) == 1; }
    bool operator==(const 家族&) const = default;
};

// Parses the bytes of "家族目録.TXT". Throws common::FileError naming the file and the line.
std::vector<家族> parseFamilyRegister(std::string bytes, const std::string& fileName);

// The families of `folder`; none when the folder has no "家族目録.TXT".
std::vector<家族> readFamilyRegister(const std::filesystem::path& folder);

// The bytes of "家族目録.TXT" in the current layout (version 220). Throws
// common::FileError for a text that would not read back.
std::string familyRegisterBytes(const std::vector<家族>& families);

} // namespace converter
