// FORM3, "系図の表示": the chart view with its picture area PICTURE1, the scroll bars HSCROLL1
// and VSCROLL1 and the corner button BUTTON_A24A, the menu entries "タスクバーへ" (MINI),
// "ＢＭＰファイル化" (BMP_F), "PDF保存" (PDF_F), "印刷" (PRINT) and "用紙設定" (PAGE_SETUP), and
// the tool bar ZOOMBAR ("縮小" ZOOM_OUT, "拡大" ZOOM_IN, "100%" ZOOM_100, "全体表示" FIT_ALL,
// "幅に合わせる" FIT_WIDTH, the zoom ZOOM_LABEL and the person search SEARCH_EDIT).
//
// The form owns its controls and places them where the chart view (render/view_geometry.h)
// says; what the picture shows comes in through the typed calls below, none of which raises
// a signal. Every user action is a signal of its own: the scroll bars, the corner button,
// the mouse on the picture (while a chart is shown), the resizing of the client area, the
// zoom and search of the tool bar and the menu's exports. "タスクバーへ" minimises the form
// itself.
#pragma once

#include "forms/tsubaki/form_window.h"
#include "render/view_geometry.h"

#include <QPixmap>
#include <QSize>

#include <memory>
#include <string>

class QLabel;
class QLineEdit;

namespace Ui {
class FORM3;
}

namespace forms {

class Form3 : public MainFormWindow {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);
    ~Form3() override;

    // The size of the client area the view lays the chart out in.
    QSize clientSize() const;
    // The view's layout: the picture area, the scroll bars (ranges, steps, positions) and
    // the corner button with its caption.
    void placeView(const render::ChartView& view);
    // The scroll bars' positions from the view.
    void showScrollPositions(const render::ChartView& view);
    void showCornerCaption(const std::string& caption);
    // What the picture area shows.
    void showPicture(const QPixmap& picture);
    void clearPicture();
    // The zoom as the tool bar shows it ("100%").
    void showZoom(const std::string& zoom);
    // While a chart is shown, the mouse on the picture pans and Ctrl + wheel zooms.
    void setChartShown(bool shown) { chartShown_ = shown; }

Q_SIGNALS:
    void clientResized();
    void horizontalScrolled(int position);
    void verticalScrolled(int position);
    void cornerPressed();
    void mousePressed(int x, int y); // the left button on the picture
    void mouseMoved(int x, int y, bool leftButtonDown);
    void wheelZoomed(int angleDelta, int x, int y); // Ctrl + wheel on the picture
    void zoomOutRequested();
    void zoomInRequested();
    void actualSizeRequested();
    void fitWholeRequested();
    void fitWidthRequested();
    void personSearched(const std::string& query); // Enter in the search field
    void bitmapRequested();
    void pdfRequested();
    void printRequested();
    void pageSetupRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolBar();

    std::unique_ptr<Ui::FORM3> ui_;
    // The widgets the event filter watches, kept apart from the ui: they still send events
    // while the form is destroyed, after its ui is gone.
    QObject* area_ = nullptr;
    QObject* picture_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QLineEdit* search_ = nullptr;
    bool chartShown_ = false;
};

} // namespace forms
