#include "app/tsubaki/chart_window.h"

#include "common/cp932.h"
#include "common/file_io.h"
#include "common/text.h"
#include "forms/tsubaki/form3.h"
#include "platform/qt_text.h"
#include "render/bitmap_file.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QWheelEvent>

#include "ui_form3.h"

#include <algorithm>
#include <array>
#include <cmath>

using platform::toQString;
using platform::toUtf8;

namespace app {

namespace {

// The zoom steps of "拡大" and "縮小"; "全体表示" and "幅に合わせる" may go between them.
constexpr std::array<double, 14> kZoomSteps = {0.1,  0.25, 0.33, 0.5, 0.67, 0.75, 1.0,
                                               1.25, 1.5,  2.0,  3.0, 4.0,  6.0,  8.0};
constexpr double kLargestZoom = 8.0;
constexpr double kSmallestZoom = 0.0005;

QRect rectOf(const render::ViewRect& r) {
    return {r.x, r.y, r.width, r.height};
}

void applyBar(QScrollBar* bar, const render::ScrollBarState& state) {
    const QSignalBlocker block(bar);
    bar->setVisible(state.shown);
    if (!state.shown) {
        return;
    }
    bar->setGeometry(rectOf(state.rect));
    bar->setRange(0, state.maximum);
    bar->setPageStep(state.pageStep);
    bar->setSingleStep(std::max(1, state.pageStep / 10));
    bar->setValue(state.position);
}

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

// A name as the search compares it: full width, without blanks and separators.
std::string searchForm(const std::string& text) {
    std::string wide;
    try {
        wide = common::toFullWidth(text);
    } catch (const common::Cp932Error&) {
        wide = text;
    }
    for (const char* gap : {"　", "・"}) {
        for (std::size_t at = wide.find(gap); at != std::string::npos; at = wide.find(gap)) {
            wide.erase(at, std::string_view(gap).size());
        }
    }
    return wide;
}

// A person number typed in half- or full-width digits, or 0.
int personNumberOf(const std::string& query) {
    std::string digits;
    for (std::size_t i = 0; i < query.size();) {
        const auto c = static_cast<unsigned char>(query[i]);
        if (c >= '0' && c <= '9') {
            digits += static_cast<char>(c);
            ++i;
        } else if (query.compare(i, 2, "\xEF\xBC") == 0 && i + 2 < query.size() &&
                   static_cast<unsigned char>(query[i + 2]) >= 0x90 &&
                   static_cast<unsigned char>(query[i + 2]) <= 0x99) {
            digits += static_cast<char>('0' + (static_cast<unsigned char>(query[i + 2]) - 0x90));
            i += 3;
        } else if (c == ' ') {
            ++i;
        } else {
            return 0;
        }
    }
    if (digits.empty() || digits.size() > 6) {
        return 0;
    }
    return std::stoi(digits);
}

} // namespace

ChartWindow::ChartWindow(forms::Form3& form, common::Dialogs& dialogs, std::filesystem::path folder)
    : QObject(&form), form_(form), dialogs_(dialogs), folder_(std::move(folder)),
      paper_(form, dialogs, glyphs_) {
    auto& ui = form_.ui();
    // The view places the picture area, the bars and the corner button itself (WIN_SAIZU_SUB),
    // so the grid the form is designed with is taken away; the controls stay where they are.
    delete ui.centralwidget->layout();
    ui.PICTURE1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui.PICTURE1->setMinimumSize(0, 0);
    ui.BUTTON_A24A->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    ui.HSCROLL1->hide();
    ui.VSCROLL1->hide();
    ui.BUTTON_A24A->hide();

    area_ = ui.centralwidget;
    picture_ = ui.PICTURE1;
    area_->installEventFilter(this);
    picture_->installEventFilter(this);
    ui.PICTURE1->setMouseTracking(false);

    connect(ui.HSCROLL1, &QScrollBar::valueChanged, this, [this](int v) {
        if (!applying_) {
            view_.setHorizontalPosition(v);
            repaint();
        }
    });
    connect(ui.VSCROLL1, &QScrollBar::valueChanged, this, [this](int v) {
        if (!applying_) {
            view_.setVerticalPosition(v);
            repaint();
        }
    });
    connect(ui.BUTTON_A24A, &QPushButton::clicked, this, [this] {
        view_.pressCornerButton();
        syncBarPositions();
        form_.ui().BUTTON_A24A->setText(toQString(view_.cornerCaption()));
        repaint();
    });
    connect(ui.MINI, &QAction::triggered, this, [this] { form_.showMinimized(); });
    connect(ui.BMP_F, &QAction::triggered, this, [this] { saveBitmap(); });
    connect(ui.PDF_F, &QAction::triggered, this, [this] { savePdf(); });
    connect(ui.PRINT, &QAction::triggered, this, [this] { print(); });
    connect(ui.PAGE_SETUP, &QAction::triggered, this, [this] { editPageSetup(); });
    ui.PRINT->setShortcut(QKeySequence::Print);
    buildToolBar();
}

ChartWindow::~ChartWindow() = default;

void ChartWindow::buildToolBar() {
    auto& ui = form_.ui();
    connect(ui.ZOOM_OUT, &QAction::triggered, this, [this] { zoomOut(); });
    connect(ui.ZOOM_IN, &QAction::triggered, this, [this] { zoomIn(); });
    connect(ui.ZOOM_100, &QAction::triggered, this, [this] { actualSize(); });
    connect(ui.FIT_ALL, &QAction::triggered, this, [this] { fitWhole(); });
    connect(ui.FIT_WIDTH, &QAction::triggered, this, [this] { fitWidth(); });
    ui.ZOOM_IN->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    ui.ZOOM_OUT->setShortcut(QKeySequence::ZoomOut);
    ui.ZOOM_100->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));

    zoomLabel_ = new QLabel(&form_);
    zoomLabel_->setObjectName("ZOOM_LABEL");
    zoomLabel_->setMinimumWidth(zoomLabel_->fontMetrics().horizontalAdvance("倍率 8888%") + 8);
    ui.ZOOMBAR->addSeparator();
    ui.ZOOMBAR->addWidget(zoomLabel_);
    ui.ZOOMBAR->addSeparator();
    search_ = new QLineEdit(&form_);
    search_->setObjectName("SEARCH_EDIT");
    search_->setPlaceholderText("人物を検索（名前か番号）");
    search_->setToolTip(
        "名前か当事者番号を入れて Enter：図面の中のその人へ。もう一度 Enter で次へ。");
    search_->setClearButtonEnabled(true);
    search_->setMaximumWidth(240);
    ui.ZOOMBAR->addWidget(search_);
    connect(search_, &QLineEdit::returnPressed, this,
            [this] { findPerson(toUtf8(search_->text())); });
    showZoom();
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
    view_.newDrawing();
    if (form_.isMinimized()) {
        form_.showNormal();
    }
    form_.show();
    form_.raise();
    layOut();
    if (chart_ && chart_->vertical) {
        // A vertical chart begins at its top right.
        view_.scrollTo(chart_->width(), 0);
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
    form_.ui().PICTURE1->clear();
}

void ChartWindow::layOut() {
    if (!chart_) {
        return;
    }
    const QWidget* client = form_.ui().centralwidget;
    if (view_.WIN_SAIZU_SUB(client->width(), client->height(), raster_->width(),
                            raster_->height())) {
        applyLayout();
    }
    repaint();
}

void ChartWindow::applyLayout() {
    auto& ui = form_.ui();
    applying_ = true;
    ui.BUTTON_A24A->hide();
    ui.PICTURE1->setGeometry(rectOf(view_.picture()));
    applyBar(ui.HSCROLL1, view_.horizontalBar());
    applyBar(ui.VSCROLL1, view_.verticalBar());
    if (view_.cornerButtonShown()) {
        ui.BUTTON_A24A->setGeometry(rectOf(view_.cornerButton()));
        ui.BUTTON_A24A->setText(toQString(view_.cornerCaption()));
        ui.BUTTON_A24A->show();
    }
    applying_ = false;
}

void ChartWindow::syncBarPositions() {
    auto& ui = form_.ui();
    applying_ = true;
    {
        const QSignalBlocker h(ui.HSCROLL1);
        const QSignalBlocker v(ui.VSCROLL1);
        ui.HSCROLL1->setValue(view_.horizontalBar().position);
        ui.VSCROLL1->setValue(view_.verticalBar().position);
    }
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
        form_.ui().PICTURE1->clear();
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
    form_.ui().PICTURE1->setPixmap(pixmap);
}

void ChartWindow::setZoom(double zoom, int x, int y) {
    if (!chart_) {
        return;
    }
    zoom = std::clamp(zoom, kSmallestZoom, kLargestZoom);
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
    const QWidget* client = form_.ui().centralwidget;
    view_.WIN_SAIZU_SUB(client->width(), client->height(), raster_->width(), raster_->height());
    applyLayout();
    view_.scrollTo(cx * zoom_ - x, cy * zoom_ - y);
    syncBarPositions();
    repaint();
    showZoom();
}

void ChartWindow::zoomIn() {
    for (double step : kZoomSteps) {
        if (step > zoom_ * 1.001) {
            setZoom(step);
            return;
        }
    }
    setZoom(kLargestZoom);
}

void ChartWindow::zoomOut() {
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it) {
        if (*it < zoom_ * 0.999) {
            setZoom(*it);
            return;
        }
    }
    setZoom(zoom_ / 2);
}

void ChartWindow::fitWhole() {
    if (!chart_) {
        return;
    }
    const QWidget* client = form_.ui().centralwidget;
    const double zx = static_cast<double>(client->width()) / chart_->width();
    const double zy = static_cast<double>(client->height()) / chart_->height();
    setZoom(std::min({zx, zy, 1.0}));
}

void ChartWindow::fitWidth() {
    if (!chart_) {
        return;
    }
    const QWidget* client = form_.ui().centralwidget;
    const int bar = chart_->height() * client->width() > client->height() * chart_->width()
                        ? render::kScrollBarThickness
                        : 0;
    setZoom(static_cast<double>(client->width() - bar) / chart_->width(), 0, 0);
}

std::string ChartWindow::zoomText() const {
    const double percent = zoom_ * 100;
    char text[32];
    if (percent >= 10 || percent == std::floor(percent)) {
        std::snprintf(text, sizeof text, "%.0f%%", percent);
    } else {
        std::snprintf(text, sizeof text, "%.1f%%", percent);
    }
    return text;
}

void ChartWindow::showZoom() {
    if (zoomLabel_ != nullptr) {
        zoomLabel_->setText(toQString("倍率 " + zoomText()));
    }
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
        matches_.clear();
        match_ = 0;
        const int number = personNumberOf(query);
        const std::string wanted = searchForm(query);
        for (std::size_t i = 0; i < persons_.size(); ++i) {
            const render::DrawnPerson& p = persons_[i];
            if (number > 0
                    ? p.person == number
                    : !wanted.empty() && searchForm(p.name).find(wanted) != std::string::npos) {
                matches_.push_back(i);
            }
        }
        // In reading order: from the top right in vertical writing, else from the top left.
        const bool vertical = chart_->vertical;
        std::stable_sort(matches_.begin(), matches_.end(), [&](std::size_t a, std::size_t b) {
            const render::Box& p = persons_[a].box;
            const render::Box& q = persons_[b].box;
            if (vertical) {
                return p.right != q.right ? p.right > q.right : p.top < q.top;
            }
            return p.top != q.top ? p.top < q.top : p.left < q.left;
        });
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

bool ChartWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_ && event->type() == QEvent::Resize) {
        layOut();
    } else if (watched == picture_ && chart_) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto* m = static_cast<QMouseEvent*>(event);
            if (m->button() == Qt::LeftButton) {
                view_.mouseDown(m->position().toPoint().x(), m->position().toPoint().y());
            }
        } else if (event->type() == QEvent::MouseMove) {
            const auto* m = static_cast<QMouseEvent*>(event);
            const QPoint p = m->position().toPoint();
            if (view_.mouseMove(p.x(), p.y(), (m->buttons() & Qt::LeftButton) != 0)) {
                syncBarPositions();
                repaint();
            }
        } else if (event->type() == QEvent::Wheel) {
            const auto* w = static_cast<QWheelEvent*>(event);
            if ((w->modifiers() & Qt::ControlModifier) != 0 && w->angleDelta().y() != 0) {
                const QPoint p = w->position().toPoint();
                const double factor = std::pow(1.25, w->angleDelta().y() / 120.0);
                setZoom(zoom_ * factor, p.x(), p.y());
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
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
