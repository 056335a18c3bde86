#include "platform/paper_painter.h"

#include "common/file_io.h"
#include "platform/chart_font.h"
#include "platform/qt_text.h"

#include <QFont>
#include <QFontMetrics>
#include <QIODevice>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace platform {

namespace {

constexpr double kThinnestLine = 0.1; // mm on paper

QColor colourOf(int index) {
    const render::Rgb& c = render::kPalette[static_cast<std::size_t>(index)];
    return QColor(c.r, c.g, c.b);
}

QRectF rectOf(const render::Box& b) {
    return QRectF(b.left, b.top, b.width(), b.height());
}

QRectF rectOf(const render::PaperRect& r) {
    return QRectF(r.left, r.top, r.width(), r.height());
}

// The replay of one sheet's operations, in chart pixels.
class OpPainter {
public:
    OpPainter(QPainter& painter, const render::Drawing& drawing, render::GlyphSource& glyphs,
              double pixelMillimetres)
        : p_(painter), d_(drawing), glyphs_(glyphs),
          lineWidth_(std::max(1.0, kThinnestLine / pixelMillimetres)) {
        installChartFontSubstitution();
    }

    // The operations that reach `area` (chart pixels), in blocks too: a text that lies on
    // the next sheet is left to that sheet.
    void paint(const QRectF& area) {
        area_ = area;
        paintOps(d_.ops(), 0, 0);
    }

private:
    struct Face {
        QFont font;
        int ascent = 0;
    };

    const Face& face(int pixelSize) {
        auto it = faces_.find(pixelSize);
        if (it == faces_.end()) {
            QFont font(toQString(kChartFontFamily));
            font.setPixelSize(std::max(pixelSize, 1));
            // Placed as the bitmap places it: the ascent of the font at that pixel size.
            const int ascent = QFontMetrics(font).ascent();
            font.setHintingPreference(QFont::PreferNoHinting);
            it = faces_.emplace(pixelSize, Face{font, ascent}).first;
        }
        return it->second;
    }

    void paintOps(const std::vector<render::DrawOp>& ops, int ox, int oy) {
        for (const render::DrawOp& op : ops) {
            if (!op.bounds.empty() && rectOf(op.bounds.translated(ox, oy)).intersects(area_)) {
                paintOp(op, ox, oy);
            }
        }
    }

    // `op` of a sub-drawing placed at (ox, oy) of the chart (the painter is moved there).
    void paintOp(const render::DrawOp& op, int ox, int oy) {
        switch (op.kind) {
        case render::DrawOp::Kind::Fill:
            p_.fillRect(rectOf(op.bounds), colourOf(op.colour));
            break;
        case render::DrawOp::Kind::Line:
            paintLine(op);
            break;
        case render::DrawOp::Kind::Text:
            paintText(op);
            break;
        case render::DrawOp::Kind::Place: {
            // A block copied opaquely: its rectangle white, then its own operations in it.
            p_.save();
            const QRectF clip = rectOf(op.clip);
            p_.setClipRect(clip, Qt::IntersectClip);
            p_.fillRect(clip, colourOf(render::kBackgroundColour));
            p_.translate(op.x1, op.y1);
            paintOps(d_.sub(op.ref).ops, ox + op.x1, oy + op.y1);
            p_.restore();
            break;
        }
        }
    }

    void paintLine(const render::DrawOp& op) {
        const QColor colour = colourOf(op.colour);
        if (op.x1 == op.x2 && op.y1 == op.y2) {
            p_.fillRect(QRectF(op.x1, op.y1, 1, 1), colour);
            return;
        }
        // Through the pixels' centres, the ends' pixels covered whole.
        QPointF a(op.x1 + 0.5, op.y1 + 0.5);
        QPointF b(op.x2 + 0.5, op.y2 + 0.5);
        QPen pen(colour);
        pen.setWidthF(lineWidth_);
        pen.setJoinStyle(Qt::MiterJoin);
        if (op.dotted) {
            // One pixel in three, from the first: dashes of one pixel, the ends' halves added.
            const double dx = b.x() - a.x();
            const double dy = b.y() - a.y();
            const double steps = std::max(std::abs(dx), std::abs(dy));
            const QPointF half(dx / steps / 2, dy / steps / 2);
            a -= half;
            b += half;
            const double along = std::hypot(dx, dy) / steps; // length of one pixel step
            pen.setCapStyle(Qt::FlatCap);
            pen.setDashPattern({along / lineWidth_, 2 * along / lineWidth_});
        } else {
            pen.setCapStyle(Qt::SquareCap);
        }
        p_.setPen(pen);
        p_.drawLine(a, b);
    }

    void paintText(const render::DrawOp& op) {
        const std::string& text = d_.run(op.ref);
        const QRectF clip = rectOf(op.clip);
        const render::GlyphInk& ink = glyphs_.ink(text, op.pixelSize, op.turned);
        const render::Box inkBox =
            render::Box{ink.left, ink.top, ink.right, ink.bottom}.translated(op.x1, op.y1);
        const bool clipped = !op.clip.contains(inkBox);
        if (clipped) {
            p_.save();
            p_.setClipRect(clip, Qt::IntersectClip);
        }
        if (op.background >= 0) {
            p_.fillRect(clip, colourOf(op.background));
        }
        if (!ink.empty()) {
            const Face& f = face(op.pixelSize);
            p_.setFont(f.font);
            p_.setPen(colourOf(op.colour));
            const QString s = toQString(text);
            if (op.turned) {
                p_.save();
                p_.translate(op.x1, op.y1);
                p_.rotate(90);
                p_.drawText(QPointF(0, f.ascent), s);
                p_.restore();
            } else {
                p_.drawText(QPointF(op.x1, op.y1 + f.ascent), s);
            }
        }
        if (clipped) {
            p_.restore();
        }
    }

    QPainter& p_;
    const render::Drawing& d_;
    render::GlyphSource& glyphs_;
    double lineWidth_;
    QRectF area_;
    std::map<int, Face> faces_;
};

// The page numbers and the neighbours' numbers, in the chart font.
void paintLabel(QPainter& painter, const render::PaperLabel& label) {
    // In hundredths of a millimetre, so that the font's pixel size is exact enough.
    constexpr double unit = 100;
    QFont font(toQString(kChartFontFamily));
    font.setPixelSize(static_cast<int>(std::lround(render::kLabelPoints * 25.4 / 72 * unit)));
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF metrics(font);
    const QString s = toQString(label.text);
    const double width = metrics.horizontalAdvance(s);
    painter.save();
    painter.translate(label.x, label.y);
    painter.scale(1 / unit, 1 / unit);
    painter.setFont(font);
    painter.setPen(colourOf(render::kTextColour));
    const double x = label.alignRight ? -width : -width / 2;
    const double baseline = (metrics.ascent() - metrics.descent()) / 2;
    painter.drawText(QPointF(x, baseline), s);
    painter.restore();
}

void paintPage(QPainter& painter, const render::Drawing& drawing, render::GlyphSource& glyphs,
               const render::PagePlan& plan, const render::Page& page) {
    const double px = plan.pixelMillimetres();
    const render::PaperRect& s = page.source;
    const QRectF area = rectOf(page.area);
    if (!area.isEmpty()) {
        painter.save();
        painter.setClipRect(area);
        painter.translate(page.area.left, page.area.top);
        painter.scale(px, px);
        painter.translate(-s.left, -s.top);
        OpPainter ops(painter, drawing, glyphs, px);
        ops.paint(QRectF(s.left, s.top, s.right - s.left, s.bottom - s.top));
        painter.restore();
    }
    if (!page.marks.empty()) {
        QPen pen(colourOf(render::kLineColour));
        pen.setWidthF(render::kMarkWidth);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        for (const render::PaperLine& m : page.marks) {
            painter.drawLine(QPointF(m.x1, m.y1), QPointF(m.x2, m.y2));
        }
    }
    for (const render::PaperLabel& label : page.labels) {
        paintLabel(painter, label);
    }
}

// A QIODevice over the atomic replace: what QPdfWriter writes goes to the temporary file.
class ReplacementDevice : public QIODevice {
public:
    explicit ReplacementDevice(common::FileReplacement& file) : file_(file) {}
    bool isSequential() const override { return true; }
    const std::optional<std::string>& error() const { return error_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override {
        if (error_) {
            return -1;
        }
        try {
            file_.write(std::string_view(data, static_cast<std::size_t>(length)));
        } catch (const common::FileError& e) {
            error_ = e.what();
            return -1;
        }
        return length;
    }

private:
    common::FileReplacement& file_;
    std::optional<std::string> error_;
};

} // namespace

QPageLayout pageLayoutOf(const render::Sheet& sheet) {
    const QPageSize size(
        QSizeF(std::min(sheet.width, sheet.height), std::max(sheet.width, sheet.height)),
        QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    return QPageLayout(size,
                       sheet.width > sheet.height ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

render::Sheet sheetOf(const QPageLayout& layout) {
    const QRectF full = layout.fullRect(QPageLayout::Millimeter);
    return {full.width(), full.height()};
}

void paintPages(QPainter& painter, QPagedPaintDevice& device, const render::Drawing& drawing,
                render::GlyphSource& glyphs, const render::PagePlan& plan, int from, int to) {
    const int count = plan.pageCount();
    from = std::clamp(from, 1, count);
    to = to <= 0 ? count : std::clamp(to, from, count);
    // Millimetres from the sheet's top left.
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    for (int n = from; n <= to; ++n) {
        if (n > from) {
            device.newPage();
        }
        painter.save();
        painter.scale(dotsPerMm, device.logicalDpiY() / 25.4);
        paintPage(painter, drawing, glyphs, plan, plan.pages[static_cast<std::size_t>(n - 1)]);
        painter.restore();
    }
}

void writePdf(const render::Drawing& drawing, render::GlyphSource& glyphs,
              const render::PagePlan& plan, const std::filesystem::path& path) {
    common::FileReplacement file(path);
    ReplacementDevice device(file);
    device.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&device);
        writer.setPageLayout(pageLayoutOf(plan.sheet));
        writer.setResolution(1200);
        writer.setTitle(toQString(render::drawingKindName(drawing.kind)));
        writer.setCreator(QStringLiteral("tsubaki"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            throw common::FileError("「" + common::displayName(path) +
                                    "」を作れません：PDF を書き始められませんでした");
        }
        paintPages(painter, writer, drawing, glyphs, plan);
        painter.end();
    }
    device.close();
    if (device.error()) {
        throw common::FileError(*device.error());
    }
    file.commit();
}

} // namespace platform
