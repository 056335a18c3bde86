// The chart font's text for recorded drawings: metrics as a QPainter canvas reports them,
// and the ink of every character rendered once per pixel size and turn with Qt (no
// antialiasing, so that every pixel is ink or not), then kept. A text of several characters
// is put together from its characters at their advances. Needs a QGuiApplication. Safe to
// use from several threads at once (the bitmap files paint in parallel).
#pragma once

#include "render/glyphs.h"

#include <QFont>
#include <QFontMetrics>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace platform {

class QtGlyphs : public render::GlyphSource {
public:
    QtGlyphs();
    ~QtGlyphs() override;

    render::TextEnd measure(std::string_view text, int pixelSize) override;
    const render::GlyphInk& ink(std::string_view text, int pixelSize, bool turned) override;

    // How many characters were rendered (each once per size and turn).
    std::size_t renderedGlyphs() const { return rendered_; }

private:
    struct Face {
        QFont font;
        QFontMetrics metrics;
        int ascent;
    };
    Face& face(int pixelSize);
    render::GlyphInk renderCharacter(const QString& ch, int pixelSize, bool turned);

    // Texts looked up by string_view, with no key string made for a lookup: every text of
    // a chart is measured and inked, most of them many times.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept {
            return std::hash<std::string_view>{}(s);
        }
    };
    template <class Value>
    using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

    std::map<int, std::unique_ptr<Face>> faces_;
    std::unordered_map<int, TextMap<render::TextEnd>> measured_; // by pixel size, then text
    std::unordered_map<int, TextMap<render::GlyphInk>> inks_[2]; // upright and turned
    std::size_t rendered_ = 0;
    std::recursive_mutex lock_; // ink() puts a text together from its characters' ink
};

} // namespace platform
