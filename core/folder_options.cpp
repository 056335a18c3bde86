#include "core/folder_options.h"

#include "common/file_io.h"

namespace core {

namespace {

constexpr std::string_view kListChartSection = "list_chart";
constexpr std::string_view kFormKey = "form";

std::string trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t");
    return std::string(s.substr(first, last - first + 1));
}

bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b < 0x80         ? 1
                        : (b >> 5) == 6  ? 2
                        : (b >> 4) == 14 ? 3
                        : (b >> 3) == 30 ? 4
                                         : 0;
        if (n == 0 || i + n > s.size()) {
            return false;
        }
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) {
                return false;
            }
        }
        i += n;
    }
    return true;
}

std::string where(const std::string& fileName, int line) {
    return "「" + fileName + "」の " + std::to_string(line) + " 行目";
}

} // namespace

IniText IniText::parse(std::string_view text, const std::string& fileName) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    IniText ini;
    std::string section;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view raw = text.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        start = end + 1;
        ++number;
        if (!validUtf8(raw)) {
            throw common::FileError(where(fileName, number) + "が UTF-8 の文字として読めません");
        }
        Line line;
        line.raw = std::string(raw);
        const std::string t = trimmed(raw);
        if (t.empty() || t[0] == ';' || t[0] == '#') {
            // blank or comment
        } else if (t.front() == '[') {
            if (t.back() != ']' || t.size() < 3) {
                throw common::FileError(where(fileName, number) + "の見出し「" + t +
                                        "」が [名前] の形になっていません");
            }
            section = trimmed(std::string_view(t).substr(1, t.size() - 2));
        } else {
            const auto eq = t.find('=');
            if (eq == std::string::npos || trimmed(std::string_view(t).substr(0, eq)).empty()) {
                throw common::FileError(where(fileName, number) + "「" + t +
                                        "」は 名前=値 の形になっていません");
            }
            line.key = trimmed(std::string_view(t).substr(0, eq));
            line.value = trimmed(std::string_view(t).substr(eq + 1));
        }
        line.section = section;
        ini.lines_.push_back(std::move(line));
    }
    return ini;
}

std::optional<std::string> IniText::get(std::string_view section, std::string_view key) const {
    std::optional<std::string> value;
    for (const Line& l : lines_) {
        if (!l.key.empty() && l.section == section && l.key == key) {
            value = l.value; // the last one counts
        }
    }
    return value;
}

int IniText::lineOf(std::string_view section, std::string_view key) const {
    int found = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (!lines_[i].key.empty() && lines_[i].section == section && lines_[i].key == key) {
            found = static_cast<int>(i + 1);
        }
    }
    return found;
}

void IniText::set(std::string_view section, std::string_view key, std::string_view value) {
    Line line;
    line.section = std::string(section);
    line.key = std::string(key);
    line.value = std::string(value);
    line.raw = line.key + "=" + line.value;
    if (const int n = lineOf(section, key); n != 0) {
        lines_[static_cast<std::size_t>(n - 1)] = std::move(line);
        return;
    }
    // After the last line of the section (blank lines after it stay after it).
    std::size_t at = lines_.size();
    bool seen = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].section == section) {
            seen = true;
            if (!trimmed(lines_[i].raw).empty()) {
                at = i + 1;
            }
        }
    }
    if (!seen) {
        if (!lines_.empty() && !trimmed(lines_.back().raw).empty()) {
            Line blank;
            blank.section = lines_.back().section;
            lines_.push_back(blank);
        }
        Line head;
        head.section = std::string(section);
        head.raw = "[" + head.section + "]";
        lines_.push_back(head);
        at = lines_.size();
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

std::string IniText::text() const {
    std::string out;
    for (const Line& l : lines_) {
        out += l.raw;
        out += "\r\n";
    }
    return out;
}

std::string_view listChartFormName(ListChartForm f) {
    return f == ListChartForm::List ? "list" : "tree";
}

std::optional<ListChartForm> listChartFormFrom(std::string_view name) {
    if (name == "tree") {
        return ListChartForm::Tree;
    }
    if (name == "list") {
        return ListChartForm::List;
    }
    return std::nullopt;
}

FolderOptions parseFolderOptions(std::string_view text, const std::string& fileName) {
    FolderOptions o;
    o.file = IniText::parse(text, fileName);
    if (const auto form = o.file.get(kListChartSection, kFormKey)) {
        const auto f = listChartFormFrom(*form);
        if (!f) {
            throw common::FileError(where(fileName, o.file.lineOf(kListChartSection, kFormKey)) +
                                    "の form の値「" + *form + "」は tree か list にしてください");
        }
        o.listChartForm = *f;
    }
    return o;
}

std::string folderOptionsText(const FolderOptions& o) {
    IniText file = o.file;
    if (file.get(kListChartSection, kFormKey) || o.listChartForm != ListChartForm::Tree) {
        file.set(kListChartSection, kFormKey, listChartFormName(o.listChartForm));
    }
    return file.text();
}

FolderOptions readFolderOptions(const std::filesystem::path& folder) {
    const auto path = folder / kOptionsFile;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        return {};
    }
    return parseFolderOptions(common::readFile(path), std::string(kOptionsFile));
}

void writeFolderOptions(const std::filesystem::path& folder, const FolderOptions& o) {
    common::replaceFile(folder / kOptionsFile, folderOptionsText(o));
}

} // namespace core
