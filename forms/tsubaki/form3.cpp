#include "forms/tsubaki/form3.h"

#include "platform/qt_text.h"

#include "ui_form3.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolBar>
#include <QWheelEvent>

#include <algorithm>

using platform::toQString;
using platform::toUtf8;

namespace forms {

namespace {

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

} // namespace

Form3::Form3(QWidget* parent) : MainFormWindow(parent), ui_(std::make_unique<Ui::FORM3>()) {
    ui_->setupUi(this);
    auto& ui = *ui_;
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

    connect(ui.HSCROLL1, &QScrollBar::valueChanged, this,
            [this](int v) { Q_EMIT horizontalScrolled(v); });
    connect(ui.VSCROLL1, &QScrollBar::valueChanged, this,
            [this](int v) { Q_EMIT verticalScrolled(v); });
    connect(ui.BUTTON_A24A, &QPushButton::clicked, this, [this] { Q_EMIT cornerPressed(); });
    connect(ui.MINI, &QAction::triggered, this, [this] { showMinimized(); });
    connect(ui.BMP_F, &QAction::triggered, this, [this] { Q_EMIT bitmapRequested(); });
    connect(ui.PDF_F, &QAction::triggered, this, [this] { Q_EMIT pdfRequested(); });
    connect(ui.PRINT, &QAction::triggered, this, [this] { Q_EMIT printRequested(); });
    connect(ui.PAGE_SETUP, &QAction::triggered, this, [this] { Q_EMIT pageSetupRequested(); });
    ui.PRINT->setShortcut(QKeySequence::Print);
    buildToolBar();
}

Form3::~Form3() = default;

void Form3::buildToolBar() {
    auto& ui = *ui_;
    connect(ui.ZOOM_OUT, &QAction::triggered, this, [this] { Q_EMIT zoomOutRequested(); });
    connect(ui.ZOOM_IN, &QAction::triggered, this, [this] { Q_EMIT zoomInRequested(); });
    connect(ui.ZOOM_100, &QAction::triggered, this, [this] { Q_EMIT actualSizeRequested(); });
    connect(ui.FIT_ALL, &QAction::triggered, this, [this] { Q_EMIT fitWholeRequested(); });
    connect(ui.FIT_WIDTH, &QAction::triggered, this, [this] { Q_EMIT fitWidthRequested(); });
    ui.ZOOM_IN->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    ui.ZOOM_OUT->setShortcut(QKeySequence::ZoomOut);
    ui.ZOOM_100->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));

    zoomLabel_ = new QLabel(this);
    zoomLabel_->setObjectName("ZOOM_LABEL");
    zoomLabel_->setMinimumWidth(zoomLabel_->fontMetrics().horizontalAdvance("倍率 8888%") + 8);
    ui.ZOOMBAR->addSeparator();
    ui.ZOOMBAR->addWidget(zoomLabel_);
    ui.ZOOMBAR->addSeparator();
    search_ = new QLineEdit(this);
    search_->setObjectName("SEARCH_EDIT");
    search_->setPlaceholderText("人物を検索（名前か番号）");
    search_->setToolTip(
        "名前か当事者番号を入れて Enter：図面の中のその人へ。もう一度 Enter で次へ。");
    search_->setClearButtonEnabled(true);
    search_->setMaximumWidth(240);
    ui.ZOOMBAR->addWidget(search_);
    connect(search_, &QLineEdit::returnPressed, this,
            [this] { Q_EMIT personSearched(toUtf8(search_->text())); });
}

QSize Form3::clientSize() const {
    return ui_->centralwidget->size();
}

void Form3::placeView(const render::ChartView& view) {
    auto& ui = *ui_;
    ui.BUTTON_A24A->hide();
    ui.PICTURE1->setGeometry(rectOf(view.picture()));
    applyBar(ui.HSCROLL1, view.horizontalBar());
    applyBar(ui.VSCROLL1, view.verticalBar());
    if (view.cornerButtonShown()) {
        ui.BUTTON_A24A->setGeometry(rectOf(view.cornerButton()));
        ui.BUTTON_A24A->setText(toQString(view.cornerCaption()));
        ui.BUTTON_A24A->show();
    }
}

void Form3::showScrollPositions(const render::ChartView& view) {
    const QSignalBlocker h(ui_->HSCROLL1);
    const QSignalBlocker v(ui_->VSCROLL1);
    ui_->HSCROLL1->setValue(view.horizontalBar().position);
    ui_->VSCROLL1->setValue(view.verticalBar().position);
}

void Form3::showCornerCaption(const std::string& caption) {
    ui_->BUTTON_A24A->setText(toQString(caption));
}

void Form3::showPicture(const QPixmap& picture) {
    ui_->PICTURE1->setPixmap(picture);
}

void Form3::clearPicture() {
    ui_->PICTURE1->clear();
}

void Form3::showZoom(const std::string& zoom) {
    zoomLabel_->setText(toQString("倍率 " + zoom));
}

bool Form3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_ && event->type() == QEvent::Resize) {
        Q_EMIT clientResized();
    } else if (watched == picture_ && chartShown_) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto* m = static_cast<QMouseEvent*>(event);
            if (m->button() == Qt::LeftButton) {
                const QPoint p = m->position().toPoint();
                Q_EMIT mousePressed(p.x(), p.y());
            }
        } else if (event->type() == QEvent::MouseMove) {
            const auto* m = static_cast<QMouseEvent*>(event);
            const QPoint p = m->position().toPoint();
            Q_EMIT mouseMoved(p.x(), p.y(), (m->buttons() & Qt::LeftButton) != 0);
        } else if (event->type() == QEvent::Wheel) {
            const auto* w = static_cast<QWheelEvent*>(event);
            if ((w->modifiers() & Qt::ControlModifier) != 0 && w->angleDelta().y() != 0) {
                const QPoint p = w->position().toPoint();
                Q_EMIT wheelZoomed(w->angleDelta().y(), p.x(), p.y());
                return true;
            }
        }
    }
    return MainFormWindow::eventFilter(watched, event);
}

} // namespace forms
