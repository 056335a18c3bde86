#include "platform/qt_canvas.h"

#include "platform/chart_font.h"

#include "common/file_io.h"

#include <QBuffer>
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
    QFont font(QString::fromUtf8(kChartFontFamily));
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

std::string encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) {
        throw common::FileError(std::string("画像を") + format + "形式にできませんでした（" +
                                sizeText(image.width(), image.height()) + " ピクセル）。");
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
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
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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

QImage QtCanvas::indexedImage() const {
    const auto& table = paletteTable();
    QImage out(image_.width(), image_.height(), QImage::Format_Indexed8);
    if (out.isNull()) {
        throw common::FileError("メモリが足りず、図面（" +
                                sizeText(image_.width(), image_.height()) +
                                " ピクセル）を保存用の画像にできません。");
    }
    out.setColorTable(QList<QRgb>(table.begin(), table.end()));
    // Every pixel is a palette colour; black is written as entry 0. Should a pixel ever be
    // something else, it takes the nearest entry.
    QRgb last = paletteRgb(render::kBackgroundColour);
    uchar lastIndex = render::kBackgroundColour;
    for (int y = 0; y < image_.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
        uchar* to = out.scanLine(y);
        for (int x = 0; x < image_.width(); ++x) {
            const QRgb p = in[x] | 0xFF000000u;
            if (p != last) {
                int best = 0;
                int bestDistance = -1;
                for (int i = 0; i < render::kPaletteSize; ++i) {
                    const QRgb c = table[static_cast<std::size_t>(i)];
                    const int dr = qRed(c) - qRed(p);
                    const int dg = qGreen(c) - qGreen(p);
                    const int db = qBlue(c) - qBlue(p);
                    const int d = dr * dr + dg * dg + db * db;
                    if (bestDistance < 0 || d < bestDistance) {
                        best = i;
                        bestDistance = d;
                    }
                }
                last = p;
                lastIndex = static_cast<uchar>(best);
            }
            to[x] = lastIndex;
        }
    }
    return out;
}

// Qt writes an image of sixteen colours as a 4-bit BMP; the chart is written as an 8-bit
// one with exactly the sixteen palette entries, bottom-up, rows padded to four bytes,
// 96 dots per inch.
std::string QtCanvas::bmpBytes() const {
    const QImage indexed = indexedImage();
    const auto width = static_cast<std::uint32_t>(indexed.width());
    const auto height = static_cast<std::uint32_t>(indexed.height());
    const std::uint32_t stride = (width + 3) / 4 * 4;
    const std::uint32_t pixelOffset = 14 + 40 + render::kPaletteSize * 4;
    const std::uint32_t imageSize = stride * height;
    std::string out;
    out.reserve(pixelOffset + imageSize);
    auto u16 = [&](std::uint32_t v) {
        out.push_back(static_cast<char>(v & 0xFF));
        out.push_back(static_cast<char>((v >> 8) & 0xFF));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    out += "BM";
    u32(pixelOffset + imageSize);
    u32(0);
    u32(pixelOffset);
    u32(40); // BITMAPINFOHEADER
    u32(width);
    u32(height);
    u16(1);
    u16(8);
    u32(0); // uncompressed
    u32(imageSize);
    u32(3780); // 96 dots per inch in dots per metre
    u32(3780);
    u32(render::kPaletteSize);
    u32(render::kPaletteSize);
    for (const auto& c : render::kPalette) {
        out.push_back(static_cast<char>(c.b));
        out.push_back(static_cast<char>(c.g));
        out.push_back(static_cast<char>(c.r));
        out.push_back('\0');
    }
    const std::string padding(stride - width, '\0');
    for (int y = indexed.height() - 1; y >= 0; --y) {
        out.append(reinterpret_cast<const char*>(indexed.constScanLine(y)), width);
        out += padding;
    }
    return out;
}

std::string QtCanvas::pngBytes() const {
    return encoded(indexedImage(), "PNG");
}

void QtCanvas::saveBmp(const std::filesystem::path& path) const {
    common::replaceFile(path, bmpBytes());
}

void QtCanvas::savePng(const std::filesystem::path& path) const {
    common::replaceFile(path, pngBytes());
}

std::unique_ptr<render::Canvas> QtCanvasFactory::create(int width, int height) {
    return std::make_unique<QtCanvas>(width, height);
}

} // namespace platform
