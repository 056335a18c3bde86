#include "platform/chart_font.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <cmath>

namespace platform {

void installChartFontSubstitution() {
    static const bool done = [] {
        QFont::insertSubstitution(QString::fromUtf8(kChartFontFamily), QStringLiteral("IPAMincho"));
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
    QFont font(QString::fromUtf8(kChartFontFamily));
    font.setPixelSize(chartPixelSize(points));
    const QFontMetrics metrics(font);
    CellMetrics cell;
    cell.CW = metrics.horizontalAdvance(QString::fromUtf8("　"));
    cell.CH = metrics.height();
    return cell;
}

} // namespace platform
