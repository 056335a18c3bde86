// Reading PDFs back with poppler's tools (poppler-utils): the output of pdfinfo, pdffonts and
// pdftotext, and a page rendered by pdftoppm as grey pixels.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace testing_support {

inline std::string quoted(const std::filesystem::path& p) {
    std::string out = "'";
    for (char c : p.string()) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

// The standard output of a command; throws when it fails.
inline std::string commandOutput(const std::string& command) {
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) {
        throw std::runtime_error("cannot run " + command);
    }
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    const int status = pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("failed: " + command);
    }
    return out;
}

inline std::string pdfInfo(const std::filesystem::path& pdf) {
    return commandOutput("pdfinfo -f 1 -l 9999 " + quoted(pdf));
}

inline int pdfPages(const std::filesystem::path& pdf) {
    const std::string info = commandOutput("pdfinfo " + quoted(pdf));
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

inline std::string pdfFonts(const std::filesystem::path& pdf) {
    return commandOutput("pdffonts " + quoted(pdf));
}

// The text of pages `first` to `last` (0: the whole document).
inline std::string pdfText(const std::filesystem::path& pdf, int first = 0, int last = 0) {
    std::string range;
    if (first > 0) {
        range = " -f " + std::to_string(first) + " -l " + std::to_string(last > 0 ? last : first);
    }
    return commandOutput("pdftotext -enc UTF-8" + range + " " + quoted(pdf) + " -");
}

// A page in grey levels (0 black, 255 white).
struct GreyPage {
    int width = 0;
    int height = 0;
    double dpi = 0;
    std::vector<std::uint8_t> pixels;
    std::uint8_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    // Pixels per millimetre.
    double perMm() const { return dpi / 25.4; }
    // Whether any pixel of the rectangle (millimetres from the top left) is darker than
    // `threshold`.
    bool inkIn(double left, double top, double right, double bottom, int threshold = 200) const {
        const int x0 = std::max(0, static_cast<int>(left * perMm()));
        const int y0 = std::max(0, static_cast<int>(top * perMm()));
        const int x1 = std::min(width, static_cast<int>(right * perMm() + 0.999));
        const int y1 = std::min(height, static_cast<int>(bottom * perMm() + 0.999));
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (at(x, y) < threshold) {
                    return true;
                }
            }
        }
        return false;
    }
};

// Page `page` rendered by pdftoppm at `dpi`, without antialiasing of text and lines
// when `sharp`.
inline GreyPage renderPage(const std::filesystem::path& pdf, int page, double dpi,
                           const std::filesystem::path& scratch, bool sharp = false) {
    const std::filesystem::path stem = scratch / ("page" + std::to_string(page));
    commandOutput("pdftoppm -gray -singlefile -r " + std::to_string(dpi) + " -f " +
                  std::to_string(page) + " -l " + std::to_string(page) +
                  (sharp ? " -aa no -aaVector no " : " ") + quoted(pdf) + " " + quoted(stem));
    std::ifstream in(stem.string() + ".pgm", std::ios::binary);
    std::string magic;
    GreyPage g;
    int maxValue = 0;
    in >> magic >> g.width >> g.height >> maxValue;
    in.get();
    if (magic != "P5" || maxValue != 255 || g.width <= 0 || g.height <= 0) {
        throw std::runtime_error("not a grey PGM: " + stem.string());
    }
    g.dpi = dpi;
    g.pixels.resize(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height));
    in.read(reinterpret_cast<char*>(g.pixels.data()),
            static_cast<std::streamsize>(g.pixels.size()));
    if (!in) {
        throw std::runtime_error("short PGM: " + stem.string());
    }
    return g;
}

} // namespace testing_support
