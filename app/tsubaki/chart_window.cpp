#include "app/tsubaki/chart_window.h"

#include "common/file_io.h"
#include "forms/tsubaki/form3.h"
#include "render/bitmap_file.h"
#include "render/person_search.h"
#include "render/view_zoom.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace app {

namespace {

const QList<QRgb>& colourTable() {
    static const QList<QRgb> table = [] {
        QList<QRgb> t;
        for (const render::Rgb& c : render::kPalette) {
            t.push_back(qRgb(c.r, c.g, c.b));
        }
        return t;
    }();
    return table;
}

} // namespace

ChartWindow::ChartWindow(forms::Form3& form, common::Dialogs& dialogs, std::filesystem::path folder)
    : form_(form), dialogs_(dialogs), folder_(std::move(folder)), paper_(form, dialogs, glyphs_) {
    connectForm();
    showZoom();
}

ChartWindow::~ChartWindow() = default;

void ChartWindow::connectForm() {
    using F = forms::Form3;
    connect(&form_, &F::clientResized, this, [this] { layOut(); });
    connect(&form_, &F::horizontalScrolled, this, [this](int v) {
        if (!applying_) {
            view_.setHorizontalPosition(v);
            repaint();
        }
    });
    connect(&form_, &F::verticalScrolled, this, [this](int v) {
        if (!applying_) {
            view_.setVerticalPosition(v);
            repaint();
        }
    });
    connect(&form_, &F::cornerPressed, this, [this] {
        view_.pressCornerButton();
        syncBarPositions();
        form_.showCornerCaption(view_.cornerCaption());
        repaint();
    });
    connect(&form_, &F::mousePressed, this, [this](int x, int y) { view_.mouseDown(x, y); });
    connect(&form_, &F::mouseMoved, this, &ChartWindow::mouseMoved);
    connect(&form_, &F::wheelZoomed, this, [this](int angleDelta, int x, int y) {
        setZoom(render::wheelZoom(zoom_, angleDelta), x, y);
    });
    connect(&form_, &F::zoomOutRequested, this, [this] { zoomOut(); });
    connect(&form_, &F::zoomInRequested, this, [this] { zoomIn(); });
    connect(&form_, &F::actualSizeRequested, this, [this] { actualSize(); });
    connect(&form_, &F::fitWholeRequested, this, [this] { fitWhole(); });
    connect(&form_, &F::fitWidthRequested, this, [this] { fitWidth(); });
    connect(&form_, &F::personSearched, this, [this](const std::string& q) { findPerson(q); });
    connect(&form_, &F::bitmapRequested, this, [this] { saveBitmap(); });
    connect(&form_, &F::pdfRequested, this, [this] { savePdf(); });
    connect(&form_, &F::printRequested, this, [this] { print(); });
    connect(&form_, &F::pageSetupRequested, this, [this] { editPageSetup(); });
}

void ChartWindow::mouseMoved(int x, int y, bool leftButtonDown) {
    if (view_.mouseMove(x, y, leftButtonDown)) {
        syncBarPositions();
        repaint();
    }
}

void ChartWindow::showChart(std::shared_ptr<const render::Drawing> chart,
                            std::unique_ptr<render::TextCanvas> text,
                            std::vector<render::DrawnPerson> persons) {
    raster_.reset();
    chart_ = std::move(chart);
    text_ = std::move(text);
    persons_ = std::move(persons);
    matches_.clear();
    lastQuery_.clear();
    marking_ = false;
    zoom_ = 1.0;
    if (chart_) {
        raster_ = std::make_unique<render::ViewRaster>(*chart_, glyphs_);
    }
    form_.setChartShown(chart_ != nullptr);
    view_.newDrawing();
    if (form_.isMinimized()) {
        form_.showNormal();
    }
    form_.show();
    form_.raise();
    layOut();
    if (chart_) {
        // The chart's beginning: the first block a reader meets, near the top right of a
        // vertical chart, the top left of a horizontal one.
        const render::ViewRect shown = view_.sourceRect();
        const render::ViewOffset at =
            render::openingOffset(persons_, chart_->width(), chart_->height(), chart_->vertical,
                                  shown.width, shown.height);
        view_.scrollTo(at.x, at.y);
        syncBarPositions();
        repaint();
    }
    showZoom();
}

void ChartWindow::clearChart() {
    raster_.reset();
    chart_.reset();
    text_.reset();
    persons_.clear();
    matches_.clear();
    marking_ = false;
    form_.setChartShown(false);
    form_.clearPicture();
}

void ChartWindow::layOut() {
    if (!chart_) {
        return;
    }
    const QSize client = form_.clientSize();
    if (view_.WIN_SAIZU_SUB(client.width(), client.height(), raster_->width(), raster_->height())) {
        applyLayout();
    }
    repaint();
}

void ChartWindow::applyLayout() {
    applying_ = true;
    form_.placeView(view_);
    applying_ = false;
}

void ChartWindow::syncBarPositions() {
    applying_ = true;
    form_.showScrollPositions(view_);
    applying_ = false;
}

QImage ChartWindow::visibleImage() const {
    if (!chart_) {
        return {};
    }
    const render::ViewRect source = view_.sourceRect();
    if (source.width <= 0 || source.height <= 0) {
        return {};
    }
    QImage image(source.width, source.height, QImage::Format_Indexed8);
    image.setColorTable(colourTable());
    raster_->paint(
        render::Box{source.x, source.y, source.x + source.width, source.y + source.height},
        image.bits(), static_cast<std::size_t>(image.bytesPerLine()));
    return image;
}

void ChartWindow::repaint() {
    if (!chart_) {
        return;
    }
    QImage image = visibleImage();
    if (image.isNull()) {
        form_.clearPicture();
        return;
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    if (const render::Box* m = marked()) {
        // The block found, framed in red over the chart.
        const render::ViewRect source = view_.sourceRect();
        const QRect frame(static_cast<int>(std::floor(m->left * zoom_)) - source.x - 3,
                          static_cast<int>(std::floor(m->top * zoom_)) - source.y - 3,
                          static_cast<int>(std::ceil(m->width() * zoom_)) + 6,
                          static_cast<int>(std::ceil(m->height() * zoom_)) + 6);
        QPainter painter(&pixmap);
        painter.setPen(QPen(QColor(220, 0, 0), 3));
        painter.drawRect(frame);
    }
    form_.showPicture(pixmap);
}

void ChartWindow::setZoom(double zoom, int x, int y) {
    if (!chart_) {
        return;
    }
    zoom = render::clampedZoom(zoom);
    const render::ViewRect before = view_.sourceRect();
    if (x < 0 || y < 0) {
        x = before.width / 2;
        y = before.height / 2;
    }
    // The chart point under (x, y), which stays there.
    const double cx = (before.x + x) / zoom_;
    const double cy = (before.y + y) / zoom_;
    zoom_ = zoom;
    raster_->setScale(zoom_);
    const QSize client = form_.clientSize();
    view_.WIN_SAIZU_SUB(client.width(), client.height(), raster_->width(), raster_->height());
    applyLayout();
    view_.scrollTo(cx * zoom_ - x, cy * zoom_ - y);
    syncBarPositions();
    repaint();
    showZoom();
}

void ChartWindow::zoomIn() {
    setZoom(render::zoomedIn(zoom_));
}

void ChartWindow::zoomOut() {
    setZoom(render::zoomedOut(zoom_));
}

void ChartWindow::fitWhole() {
    if (!chart_) {
        return;
    }
    const QSize client = form_.clientSize();
    setZoom(
        render::wholeChartZoom(client.width(), client.height(), chart_->width(), chart_->height()));
}

void ChartWindow::fitWidth() {
    if (!chart_) {
        return;
    }
    const QSize client = form_.clientSize();
    setZoom(
        render::chartWidthZoom(client.width(), client.height(), chart_->width(), chart_->height()),
        0, 0);
}

std::string ChartWindow::zoomText() const {
    return render::zoomText(zoom_);
}

void ChartWindow::showZoom() {
    form_.showZoom(zoomText());
}

const render::Box* ChartWindow::marked() const {
    if (!marking_ || match_ >= matches_.size()) {
        return nullptr;
    }
    return &persons_[matches_[match_]].box;
}

bool ChartWindow::findPerson(const std::string& query) {
    if (!chart_) {
        return false;
    }
    if (query == lastQuery_ && !matches_.empty()) {
        match_ = (match_ + 1) % matches_.size();
    } else {
        lastQuery_ = query;
        match_ = 0;
        matches_ = render::findDrawnPersons(persons_, query, chart_->vertical);
    }
    if (matches_.empty()) {
        marking_ = false;
        repaint();
        dialogs_.ok("人物を検索", "「" + query + "」に当たる人物は、この図面にありません。",
                    common::Icon::Information);
        return false;
    }
    marking_ = true;
    const render::Box& box = persons_[matches_[match_]].box;
    const render::ViewRect source = view_.sourceRect();
    view_.scrollTo((box.left + box.width() / 2.0) * zoom_ - source.width / 2.0,
                   (box.top + box.height() / 2.0) * zoom_ - source.height / 2.0);
    syncBarPositions();
    repaint();
    return true;
}

bool ChartWindow::saveBitmap() {
    if (!chart_) {
        return false;
    }
    const auto path =
        dialogs_.saveFile("名前を付けて保存", folder_.string(), "図面.BMP", "BMP形式(*.BMP)");
    if (!path) {
        return false;
    }
    try {
        render::writeBmp(*chart_, glyphs_, std::filesystem::path(*path));
    } catch (const common::FileError& e) {
        common::STOP_SUB(dialogs_, "保存できません", e.what());
        return false;
    }
    return true;
}

bool ChartWindow::exportText() {
    if (!text_) {
        return false;
    }
    const auto path =
        dialogs_.saveFile("名前を付けて保存", folder_.string(), "図面.TXT", "TXT形式(*.TXT)");
    if (!path) {
        return false;
    }
    try {
        text_->exportTo(std::filesystem::path(*path));
    } catch (const common::FileError& e) {
        common::STOP_SUB(dialogs_, "保存できません", e.what());
        return false;
    }
    return true;
}

bool ChartWindow::savePdf() {
    return chart_ && paper_.savePdf(*chart_, folder_);
}

bool ChartWindow::print() {
    return chart_ && paper_.print(*chart_);
}

bool ChartWindow::editPageSetup() {
    return paper_.editPageSetup(chart_ ? chart_->kind : render::DrawingKind::FamilyChart,
                                chart_.get());
}

} // namespace app
