#include "app/tsubaki/cli.h"

#include "common/file_io.h"
#include "core/backup.h"
#include "core/constants.h"
#include "core/data_folder.h"
#include "core/register_dump.h"

#include <filesystem>

namespace app {

namespace {

constexpr const char* kUsage = "使い方: tsubaki [DATA_FOLDER]\n"
                               "        tsubaki --dump DATA_FOLDER\n"
                               "        tsubaki --upgrade DATA_FOLDER\n";

bool fileExists(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::exists(p, ec);
}

core::DataFolder loadFolder(const std::string& folder) {
    const std::filesystem::path dir(folder);
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        throw common::FileError("データフォルダ「" + folder + "」が見つかりません");
    }
    core::Environment env = core::readEnvironment(std::string(core::kEnvironmentFile));
    // Older layouts are read without asking: the caller either writes nothing or was asked
    // for the conversion.
    return core::DataFolder::load(dir, std::move(env), [] { return true; });
}

int dump(const std::string& folder, std::ostream& out) {
    out << core::registersJson(loadFolder(folder));
    return 0;
}

int upgrade(const std::string& folder, std::ostream& out) {
    core::DataFolder data = loadFolder(folder);
    const core::PersonRegisterLayout& layout = data.personLayout;
    const auto backup = core::データバックアップ_SUB(data.folder);
    if (!backup) {
        throw common::FileError(
            "同じ時刻のバックアップがすでにあります。1 秒待ってからやり直してください");
    }
    out << "バックアップ: " << backup->string() << "\n";
    if (fileExists(data.folder / core::kPersonFile)) {
        data.savePersons();
        out << "書き込み: " << core::kPersonFile << "（" << data.reg.personCount() << " 人";
        if (layout.isOld()) {
            out << "、" << (layout.hasVersion ? "V" + std::to_string(layout.version) : "版表示なし")
                << " から現行の形式へ";
        }
        out << "）\n";
        out << "書き込み: " << core::kFounderFile << "\n";
        out << "書き込み: " << core::kNameOrderFile << "\n";
    }
    if (data.familyFilePresent) {
        data.saveFamilies();
        out << "書き込み: " << core::kFamilyFile << "（" << data.reg.familyCount() << " 家族）\n";
    }
    if (data.settingsFilePresent) {
        data.saveSettings();
        out << "書き込み: " << core::kSettingsFile << "\n";
    }
    return 0;
}

} // namespace

bool isHeadlessJob(const std::vector<std::string>& args) {
    return !args.empty() && args[0].rfind("--", 0) == 0;
}

int runHeadlessJob(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (args.size() == 2 && args[0] == "--dump") {
            return dump(args[1], out);
        }
        if (args.size() == 2 && args[0] == "--upgrade") {
            return upgrade(args[1], out);
        }
        if (!args.empty() && args[0] == "--help") {
            out << kUsage;
            return 0;
        }
        err << kUsage;
        return 1;
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
}

} // namespace app
