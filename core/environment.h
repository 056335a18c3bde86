// The environment file "KANKYO.TXT": mode, capacities and title lists.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace core {

struct Environment {
    std::int16_t Mode = 1; // 1 = "通常モード", anything else = "viraモード"
    // Capacities: limits that operations check.
    std::int16_t 最大登録人数 = 0;
    std::int16_t 最大婚姻数 = 0;
    std::int16_t 一世帯当りの子供の最大数 = 0;
    std::int16_t 一人が持てる最大家族数 = 0;
    std::int16_t 最大世代数 = 0;
    // Title lists (texts in list order).
    std::vector<std::string> 一般;
    std::vector<std::string> 息子;
    std::vector<std::string> 娘;
    std::vector<std::string> 夫;
    std::vector<std::string> 妻;

    bool operator==(const Environment&) const = default;
};

// The husband and wife title lists used when the file ends after the 娘 list.
std::vector<std::string> defaultHusbandTitles();
std::vector<std::string> defaultWifeTitles();

// Parses the bytes of "KANKYO.TXT". Throws common::FileError naming the line.
Environment parseEnvironment(const std::string& bytes, const std::string& fileName);
// Reads "KANKYO.TXT"; a missing file is reported with the place where it was looked for.
Environment readEnvironment(const std::filesystem::path& file);

// The bytes of "KANKYO.TXT", which read back as `env`. Throws common::FileError for a title
// that no form of the file holds, common::Cp932Error for one Shift-JIS cannot hold.
std::string environmentBytes(const Environment& env);
// The environment-file writer (replaces the file atomically).
void writeEnvironment(const std::filesystem::path& file, const Environment& env);

} // namespace core
