#include "platform/page_settings.h"

#include "platform/qt_text.h"

#include <QSettings>
#include <QString>

namespace platform {

namespace {

QSettings store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tsubaki"),
                     QStringLiteral("page-setup"));
}

QString groupOf(render::DrawingKind kind) {
    return kind == render::DrawingKind::ListChart ? QStringLiteral("listChart")
                                                  : QStringLiteral("chart");
}

render::PageSetup defaultsOf(render::DrawingKind kind) {
    return kind == render::DrawingKind::ListChart ? render::listChartDefaults()
                                                  : render::PageSetup{};
}

} // namespace

QString pageSettingsFile() {
    return store().fileName();
}

render::PageSetup loadPageSetup(render::DrawingKind kind) {
    const render::PageSetup defaults = defaultsOf(kind);
    QSettings s = store();
    s.beginGroup(groupOf(kind));
    render::PageSetup setup = defaults;
    const QByteArray paper = s.value("paper").toString().toLatin1();
    if (!render::paperFromName(std::string_view(paper.constData(), paper.size()), setup.paper)) {
        setup.paper = defaults.paper;
    }
    const QString orientation = s.value("orientation").toString();
    if (orientation == "landscape") {
        setup.orientation = render::Orientation::Landscape;
    } else if (orientation == "portrait") {
        setup.orientation = render::Orientation::Portrait;
    }
    const auto number = [&](const char* key, double fallback) {
        bool ok = false;
        const double v = s.value(key).toDouble(&ok);
        return ok ? v : fallback;
    };
    setup.margins.top = number("marginTop", defaults.margins.top);
    setup.margins.right = number("marginRight", defaults.margins.right);
    setup.margins.bottom = number("marginBottom", defaults.margins.bottom);
    setup.margins.left = number("marginLeft", defaults.margins.left);
    setup.minFontPoints = number("minFontPt", defaults.minFontPoints);
    setup.onePage = s.value("onePage", false).toBool();
    s.endGroup();
    return render::checkPageSetup(setup).empty() ? setup : defaults;
}

void savePageSetup(render::DrawingKind kind, const render::PageSetup& setup) {
    QSettings s = store();
    s.beginGroup(groupOf(kind));
    s.setValue("paper", toQString(render::paperName(setup.paper)));
    s.setValue("orientation", setup.orientation == render::Orientation::Landscape
                                  ? QStringLiteral("landscape")
                                  : QStringLiteral("portrait"));
    s.setValue("marginTop", setup.margins.top);
    s.setValue("marginRight", setup.margins.right);
    s.setValue("marginBottom", setup.margins.bottom);
    s.setValue("marginLeft", setup.margins.left);
    s.setValue("minFontPt", setup.minFontPoints);
    s.setValue("onePage", setup.onePage);
    s.endGroup();
    s.sync();
}

} // namespace platform
