#include "platform/qt_glyphs.h"

#include "platform/chart_font.h"
#include "platform/qt_text.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace platform {

namespace {

// The characters of a text (a surrogate pair is one).
std::vector<QString> characters(const QString& s) {
    std::vector<QString> out;
    for (qsizetype i = 0; i < s.size();) {
        const qsizetype n = s[i].isHighSurrogate() && i + 1 < s.size() ? 2 : 1;
        out.push_back(s.mid(i, n));
        i += n;
    }
    return out;
}

} // namespace

QtGlyphs::QtGlyphs() {
    installChartFontSubstitution();
}

QtGlyphs::~QtGlyphs() = default;

QtGlyphs::Face& QtGlyphs::face(int pixelSize) {
    auto it = faces_.find(pixelSize);
    if (it == faces_.end()) {
        QFont font(toQString(kChartFontFamily));
        font.setPixelSize(std::max(pixelSize, 1));
        font.setStyleStrategy(QFont::NoAntialias);
        QFontMetrics metrics(font);
        const int ascent = metrics.ascent();
        it = faces_.emplace(pixelSize, std::make_unique<Face>(Face{font, metrics, ascent})).first;
    }
    return *it->second;
}

render::TextEnd QtGlyphs::measure(std::string_view text, int pixelSize) {
    const std::lock_guard<std::recursive_mutex> hold(lock_);
    TextMap<render::TextEnd>& measured = measured_[pixelSize];
    if (const auto it = measured.find(text); it != measured.end()) {
        return it->second;
    }
    const Face& f = face(pixelSize);
    const QString s = toQString(text);
    // As the QPainter canvas measures: one character by its own advance.
    const int advance =
        s.size() == 1 ? f.metrics.horizontalAdvance(s.front()) : f.metrics.horizontalAdvance(s);
    const render::TextEnd end{advance, f.metrics.height()};
    measured.emplace(std::string(text), end);
    return end;
}

render::GlyphInk QtGlyphs::renderCharacter(const QString& ch, int pixelSize, bool turned) {
    ++rendered_;
    const Face& f = face(pixelSize);
    const int size = std::max(pixelSize, 1);
    // Room all round: the ink of a glyph may reach outside its cell.
    const int origin = 2 * size + 4;
    QImage image(2 * origin + 2 * size, 2 * origin + 2 * size, QImage::Format_RGB32);
    image.fill(0xFFFFFFFFu);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setFont(f.font);
        painter.setPen(QColor(0, 0, 0));
        if (turned) {
            painter.translate(origin, origin);
            painter.rotate(90);
            painter.drawText(0, f.ascent, ch);
        } else {
            painter.drawText(origin, origin + f.ascent, ch);
        }
    }
    render::GlyphInk ink;
    const int width = image.width();
    const int height = image.height();
    // Most rows of the image are left white: those are passed over a row at a time.
    const std::vector<QRgb> whiteRow(static_cast<std::size_t>(width), 0xFFFFFFFFu);
    const auto rowBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (std::memcmp(line, whiteRow.data(), rowBytes) == 0) {
            continue;
        }
        for (int x = 0; x < width;) {
            if ((line[x] & 0xFFFFFFu) == 0xFFFFFFu) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && (line[x] & 0xFFFFFFu) != 0xFFFFFFu) {
                ++x;
            }
            ink.spans.push_back({y - origin, start - origin, x - origin});
        }
    }
    render::boundSpans(ink);
    return ink;
}

const render::GlyphInk& QtGlyphs::ink(std::string_view text, int pixelSize, bool turned) {
    const std::lock_guard<std::recursive_mutex> hold(lock_);
    TextMap<render::GlyphInk>& inks = inks_[turned ? 1 : 0][pixelSize];
    if (const auto it = inks.find(text); it != inks.end()) {
        return it->second;
    }
    const QString s = toQString(text);
    const std::vector<QString> chars = characters(s);
    render::GlyphInk ink;
    if (chars.size() == 1 || turned) {
        // A turned text of several characters (never typeset so: vertical writing turns one
        // character at a time) is drawn whole.
        ink = renderCharacter(s, pixelSize, turned);
    } else {
        // Put together from the characters, each where QPainter lays it out: at the
        // fractional advance of those before it, taken down to the whole pixel.
        const QFontMetricsF exact(face(pixelSize).font);
        double position = 0;
        for (const QString& ch : chars) {
            const QByteArray utf8 = ch.toUtf8();
            const render::GlyphInk& one =
                this->ink(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                          pixelSize, turned);
            const int advance = static_cast<int>(std::floor(position));
            for (const render::InkSpan& span : one.spans) {
                ink.spans.push_back(
                    turned ? render::InkSpan{span.y + advance, span.x0, span.x1}
                           : render::InkSpan{span.y, span.x0 + advance, span.x1 + advance});
            }
            position += exact.horizontalAdvance(ch);
        }
        std::sort(ink.spans.begin(), ink.spans.end(),
                  [](const render::InkSpan& a, const render::InkSpan& b) {
                      return a.y != b.y ? a.y < b.y : a.x0 < b.x0;
                  });
        render::boundSpans(ink);
    }
    return inks.emplace(std::string(text), std::move(ink)).first->second;
}

} // namespace platform
