#include "app/tsubaki/chart_window.h"

#include "common/file_io.h"
#include "forms/tsubaki/form3.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>

#include "ui_form3.h"

namespace app {

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

ChartWindow::ChartWindow(forms::Form3& form, common::Dialogs& dialogs, std::filesystem::path folder)
    : QObject(&form), form_(form), dialogs_(dialogs), folder_(std::move(folder)) {
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

    ui.centralwidget->installEventFilter(this);
    ui.PICTURE1->installEventFilter(this);
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
        form_.ui().BUTTON_A24A->setText(QString::fromStdString(view_.cornerCaption()));
        repaint();
    });
    connect(ui.MINI, &QAction::triggered, this, [this] { form_.showMinimized(); });
    connect(ui.BMP_F, &QAction::triggered, this, [this] { saveBitmap(); });
}

void ChartWindow::showChart(std::unique_ptr<platform::ChartImage> chart,
                            std::unique_ptr<render::TextCanvas> text) {
    chart_ = std::move(chart);
    text_ = std::move(text);
    view_.newDrawing();
    if (form_.isMinimized()) {
        form_.showNormal();
    }
    form_.show();
    form_.raise();
    layOut();
}

void ChartWindow::clearChart() {
    chart_.reset();
    text_.reset();
    form_.ui().PICTURE1->clear();
}

void ChartWindow::layOut() {
    if (!chart_) {
        return;
    }
    const QWidget* client = form_.ui().centralwidget;
    if (view_.WIN_SAIZU_SUB(client->width(), client->height(), chart_->width(), chart_->height())) {
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
        ui.BUTTON_A24A->setText(QString::fromStdString(view_.cornerCaption()));
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

void ChartWindow::repaint() {
    if (!chart_) {
        return;
    }
    const render::ViewRect source = view_.sourceRect();
    if (source.width <= 0 || source.height <= 0) {
        form_.ui().PICTURE1->clear();
        return;
    }
    const QImage part = chart_->part(source.x, source.y, source.width, source.height);
    form_.ui().PICTURE1->setPixmap(QPixmap::fromImage(part));
}

bool ChartWindow::eventFilter(QObject* watched, QEvent* event) {
    auto& ui = form_.ui();
    if (watched == ui.centralwidget && event->type() == QEvent::Resize) {
        layOut();
    } else if (watched == ui.PICTURE1 && chart_) {
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
        chart_->saveBmp(std::filesystem::path(*path));
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

} // namespace app
