#include "platform/chart_font.h"

#include "platform/qt_text.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <cmath>

namespace platform {

void installChartFontSubstitution() {
    static const bool done = [] {
        QFont::insertSubstitution(toQString(kChartFontFamily), QStringLiteral("IPAMincho"));
        return true;
    }();
    (void)done;
}

int chartPixelSize(double points) {
    if (!(points > 0)) {
        points = 16;
    }
    // Rounded as Windows rounds a point size to pixels.
    return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0)));
}

CellMetrics measureChartCell(double points) {
    installChartFontSubstitution();
    QFont font(toQString(kChartFontFamily));
    font.setPixelSize(chartPixelSize(points));
    const QFontMetrics metrics(font);
    CellMetrics cell;
    cell.CW = metrics.horizontalAdvance(toQString("　"));
    cell.CH = metrics.height();
    return cell;
}

void loadChartFont() {
    (void)measureChartCell(16);
}

} // namespace platform
