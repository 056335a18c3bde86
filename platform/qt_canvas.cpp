#include "platform/qt_canvas.h"

#include "platform/chart_font.h"
#include "platform/qt_text.h"

#include <QPainter>
#include <QPen>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>

namespace platform {

namespace {

const std::array<QRgb, render::kPaletteSize>& paletteTable() {
    static const auto table = [] {
        std::array<QRgb, render::kPaletteSize> t{};
        for (int i = 0; i < render::kPaletteSize; ++i) {
            const auto& c = render::kPalette[static_cast<std::size_t>(i)];
            t[static_cast<std::size_t>(i)] = qRgb(c.r, c.g, c.b);
        }
        return t;
    }();
    return table;
}

QColor colourOf(int index) {
    render::checkColour(index);
    return QColor::fromRgb(paletteRgb(index));
}

QFont chartFont(float points) {
    installChartFontSubstitution();
    QFont font(toQString(kChartFontFamily));
    font.setPixelSize(chartPixelSize(points));
    // Mono glyphs: a pixel is the text colour or left as it was.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + "×" + std::to_string(height);
}

QImage makeImage(int width, int height) {
    if (width <= 0 || height <= 0) {
        throw render::CanvasError("大きさ " + sizeText(width, height) +
                                  " ピクセルの画像は作れません。");
    }
    if (static_cast<long long>(width) * height * 4 > kLargestCanvasBytes) {
        throw render::CanvasError("図面が大きすぎて画像にできません（" + sizeText(width, height) +
                                  " ピクセル）。");
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        throw render::CanvasError("メモリが足りず、" + sizeText(width, height) +
                                  " ピクセルの画像を作れません。");
    }
    image.fill(paletteRgb(render::kBackgroundColour));
    return image;
}

} // namespace

QRgb paletteRgb(int index) {
    return paletteTable()[static_cast<std::size_t>(index)];
}

QtCanvas::QtCanvas(int width, int height)
    : image_(makeImage(width, height)), font_(chartFont(16)), metrics_(font_) {
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, false);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_->setFont(font_);
    ascent_ = metrics_.ascent();
}

QtCanvas::~QtCanvas() {
    painter_->end();
}

void QtCanvas::fillRect(int x1, int y1, int x2, int y2, int colour) {
    const QRect r(QPoint(std::min(x1, x2), std::min(y1, y2)),
                  QPoint(std::max(x1, x2), std::max(y1, y2)));
    painter_->fillRect(r, colourOf(colour));
}

void QtCanvas::line(int x1, int y1, int x2, int y2, int colour, render::PenStyle style) {
    QPen pen(colourOf(colour));
    pen.setWidth(1);
    pen.setCapStyle(Qt::FlatCap);
    pen.setStyle(style == render::PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    painter_->setPen(pen);
    painter_->drawLine(x1, y1, x2, y2);
}

void QtCanvas::setFontSize(float points) {
    const int pixels = chartPixelSize(points);
    if (pixels == font_.pixelSize()) {
        return;
    }
    font_ = chartFont(points);
    metrics_ = QFontMetrics(font_);
    ascent_ = metrics_.ascent();
    painter_->setFont(font_);
}

render::TextEnd QtCanvas::drawText(int x, int y, std::string_view text, int colour) {
    const QString s = toQString(text);
    if (!s.isEmpty()) {
        painter_->setPen(colourOf(colour));
        painter_->drawText(x, y + ascent_, s);
    }
    // One character (the usual case: text is typeset a glyph at a time) is measured without
    // laying the string out.
    const int advance =
        s.size() == 1 ? metrics_.horizontalAdvance(s.front()) : metrics_.horizontalAdvance(s);
    return {x + advance, y + metrics_.height()};
}

void QtCanvas::drawTextRotated(int x, int y, std::string_view text, int colour) {
    const QString s = toQString(text);
    if (s.isEmpty()) {
        return;
    }
    painter_->save();
    painter_->setPen(colourOf(colour));
    painter_->translate(x, y);
    painter_->rotate(90);
    painter_->drawText(0, ascent_, s);
    painter_->restore();
}

void QtCanvas::copyFrom(const render::Canvas& source, int sx, int sy, int w, int h, int dx,
                        int dy) {
    const auto* src = dynamic_cast<const QtCanvas*>(&source);
    if (src == nullptr) {
        throw std::invalid_argument("QtCanvas::copyFrom: source of another kind");
    }
    if (w <= 0 || h <= 0) {
        return;
    }
    const QRect from(sx, sy, w, h);
    if (src == this) {
        const QImage part = image_.copy(from);
        painter_->drawImage(QPoint(dx, dy), part);
    } else {
        painter_->drawImage(QPoint(dx, dy), src->image_, from);
    }
}

int QtCanvas::paletteIndexAt(int x, int y) const {
    const QRgb p = image_.pixel(x, y) | 0xFF000000u;
    const auto& table = paletteTable();
    for (int i = 0; i < render::kPaletteSize; ++i) {
        if (table[static_cast<std::size_t>(i)] == p) {
            return i;
        }
    }
    return -1;
}

std::unique_ptr<render::Canvas> QtCanvasFactory::create(int width, int height) {
    return std::make_unique<QtCanvas>(width, height);
}

} // namespace platform
