// The chart window FORM3 on the samples' chart, as "作図実行" shows it: where it opens, the
// zoom from the tool bar, the pixels it paints at 25%, 100% and 400% against the same
// rectangle rasterised in one piece (and, at 100%, against "図面.BMP"), and the person search.
#include "gui_fixture.h"

#include "app/tsubaki/chart_window.h"
#include "forms/tsubaki/form_window.h"
#include "render/raster.h"
#include "render/view_zoom.h"

#include "tests/support/bytes.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

namespace gui_test {
namespace {

class ChartWindowView : public Gui {
protected:
    void SetUp() override {
        copySamples();
        ASSERT_TRUE(start());
        clickMain("BUTTON_A8A");
        click(form(1), "BUTTON_A21A"); // "作図開始"
        ASSERT_TRUE(form(3).isVisible());
        form(2).resize(900, 700);
        click(form(3), "BUTTON_A22A"); // "作図実行"
        ASSERT_TRUE(form(2).isVisible());
        settle();
    }
    static void settle() {
        for (int i = 0; i < 3; ++i) {
            QApplication::processEvents();
        }
    }
    app::ChartWindow& window() { return app::chartWindow(*app); }
    void trigger(const char* action) {
        auto* a = form(2).findChild<QAction*>(action);
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }
    QImage picture() {
        return ctl<QLabel>(form(2), "PICTURE1")
            ->pixmap()
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // The visible rectangle at the window's zoom, rasterised in one piece.
    QImage reference() {
        const render::ViewRect r = window().view().sourceRect();
        render::Rasteriser raster(*window().chart(), window().glyphs());
        const std::vector<std::uint8_t> pixels =
            raster.paint(render::Box{r.x, r.y, r.x + r.width, r.y + r.height}, window().zoom());
        QImage out(r.width, r.height, QImage::Format_RGB32);
        for (int y = 0; y < r.height; ++y) {
            for (int x = 0; x < r.width; ++x) {
                const render::Rgb& c =
                    render::kPalette[pixels[static_cast<std::size_t>(y * r.width + x)]];
                out.setPixel(x, y, qRgb(c.r, c.g, c.b));
            }
        }
        return out;
    }
    QLineEdit* search() { return ctl<QLineEdit>(form(2), "SEARCH_EDIT"); }
    // Enter in the search field, as typed.
    void enter() {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(search(), &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(search(), &release);
    }
    std::string zoomLabel() { return s(ctl<QLabel>(form(2), "ZOOM_LABEL")->text()); }
};

// The samples' chart is in vertical writing: it opens at 100% on its top right corner.
// The samples' chart is in vertical writing: it opens at 100% on its first block, the one
// nearest its top right corner (that corner itself is blank).
TEST_F(ChartWindowView, OpensAtTheBeginningOfAVerticalChart) {
    ASSERT_TRUE(window().hasChart());
    EXPECT_TRUE(window().chart()->vertical);
    EXPECT_EQ(window().zoom(), 1.0);
    EXPECT_EQ(zoomLabel(), "倍率 100%");
    const render::ViewRect r = window().view().sourceRect();
    const render::ViewOffset at =
        render::openingOffset(window().persons(), window().chart()->width(),
                              window().chart()->height(), true, r.width, r.height);
    EXPECT_EQ(r.x, at.x);
    EXPECT_EQ(r.y, at.y);
    // Something of the chart is in view, not white only.
    const QImage shown = picture();
    int ink = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            ink += shown.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 200);
}

// The window opens the first time at most of the screen; a horizontal chart at its top left.
TEST_F(ChartWindowView, OpensLargeAndAHorizontalChartAtItsTopLeft) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(form(2).geometry(), forms::usefulGeometry(available));
    const QRect small = forms::usefulGeometry(QRect(0, 0, 1366, 728));
    EXPECT_TRUE(QRect(0, 0, 1366, 728).contains(small.marginsAdded(forms::kAssumedFrame)));
    EXPECT_GE(small.width() * small.height(), 1366 * 728 * 3 / 4);

    // Moved by the user, it opens there again.
    form(2).move(form(2).x() + 20, form(2).y());
    const QRect moved = form(2).geometry();
    form(2).hide();
    click(form(1), "BUTTON_A21A"); // "作図開始"
    ctl<QRadioButton>(form(3), "RADIO_A6A")->click();
    click(form(3), "BUTTON_A22A"); // "作図実行"
    settle();
    ASSERT_TRUE(window().hasChart());
    EXPECT_FALSE(window().chart()->vertical);
    EXPECT_EQ(form(2).geometry(), moved);
    // The block nearest the top left is in view.
    const render::ViewRect r = window().view().sourceRect();
    const render::ViewOffset at =
        render::openingOffset(window().persons(), window().chart()->width(),
                              window().chart()->height(), false, r.width, r.height);
    EXPECT_EQ(r.x, at.x);
    EXPECT_EQ(r.y, at.y);
}

// Ctrl and the mouse wheel over the picture zoom; the wheel alone does not.
TEST_F(ChartWindowView, CtrlAndTheWheelZoom) {
    QWidget* picture = ctl<QLabel>(form(2), "PICTURE1");
    const auto wheel = [&](Qt::KeyboardModifiers modifiers, int delta) {
        QWheelEvent e(QPointF(40, 40), picture->mapToGlobal(QPointF(40, 40)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(picture, &e);
        settle();
    };
    wheel(Qt::NoModifier, 120);
    EXPECT_EQ(window().zoom(), 1.0);
    wheel(Qt::ControlModifier, -120);
    EXPECT_LT(window().zoom(), 1.0);
    EXPECT_NE(zoomLabel(), "倍率 100%");
    wheel(Qt::ControlModifier, 120);
    EXPECT_DOUBLE_EQ(window().zoom(), 1.0);
}

TEST_F(ChartWindowView, PaintsWhatTheRecordingGivesAtEveryZoom) {
    // 100%: the pixels of "図面.BMP" itself.
    const fs::path out = workDir.path() / "図面.BMP";
    dialogs.answerFile(out.string());
    trigger("BMP_F");
    const std::string bmp = common::readFile(out);
    const int width = static_cast<int>(testing_support::le32(bmp, 18));
    const int height = static_cast<int>(testing_support::le32(bmp, 22));
    ASSERT_EQ(width, window().chart()->width());
    const int stride = (width + 3) / 4 * 4;
    const render::ViewRect r = window().view().sourceRect();
    const QImage shown = picture();
    ASSERT_EQ(shown.size(), QSize(r.width, r.height));
    int differences = 0;
    for (int y = 0; y < r.height; ++y) {
        const std::size_t row = 118 + static_cast<std::size_t>(height - 1 - (r.y + y)) * stride;
        for (int x = 0; x < r.width; ++x) {
            const int index = static_cast<unsigned char>(bmp[row + r.x + x]) ^ 15;
            const render::Rgb& c = render::kPalette[static_cast<std::size_t>(index)];
            differences += shown.pixel(x, y) != qRgb(c.r, c.g, c.b);
        }
    }
    EXPECT_EQ(differences, 0);

    // 25% and 400% through the tool bar's steps, tiles against one piece.
    trigger("ZOOM_OUT"); // 75%
    trigger("ZOOM_OUT"); // 67%
    trigger("ZOOM_OUT"); // 50%
    trigger("ZOOM_OUT"); // 33%
    trigger("ZOOM_OUT"); // 25%
    EXPECT_EQ(window().zoom(), 0.25);
    EXPECT_EQ(zoomLabel(), "倍率 25%");
    EXPECT_EQ(picture(), reference());
    window().setZoom(4.0, 100, 80);
    EXPECT_EQ(zoomLabel(), "倍率 400%");
    EXPECT_EQ(picture(), reference());
    trigger("ZOOM_100");
    EXPECT_EQ(window().zoom(), 1.0);
}

TEST_F(ChartWindowView, FittingTheWholeChartAndItsWidth) {
    const QSize client = form(2).findChild<QWidget*>("centralwidget")->size();
    trigger("FIT_ALL");
    EXPECT_LE(window().chart()->width() * window().zoom(), client.width() + 0.5);
    EXPECT_LE(window().chart()->height() * window().zoom(), client.height() + 0.5);
    EXPECT_TRUE(ctl<QScrollBar>(form(2), "HSCROLL1")->isHidden());
    EXPECT_TRUE(ctl<QScrollBar>(form(2), "VSCROLL1")->isHidden());
    EXPECT_EQ(picture(), reference());

    trigger("FIT_WIDTH");
    EXPECT_TRUE(ctl<QScrollBar>(form(2), "HSCROLL1")->isHidden()) << "the width fits";
    EXPECT_FALSE(ctl<QScrollBar>(form(2), "VSCROLL1")->isHidden()) << "a tall chart scrolls";
    EXPECT_EQ(window().view().sourceRect().y, 0);
}

// 山田太郎 (person 1) is drawn twice: in his parents' family and as the husband of his
// third marriage. Both are found, in reading order, and marked in turn; by his number too.
TEST_F(ChartWindowView, SearchFindsEveryBlockOfAPerson) {
    search()->setText("山田太郎");
    enter();
    const render::Box* first = window().marked();
    ASSERT_NE(first, nullptr);
    const render::Box one = *first;
    // The view is centred on it.
    const render::ViewRect r = window().view().sourceRect();
    EXPECT_LE(r.x, one.left);
    EXPECT_GE(r.x + r.width, one.right);
    EXPECT_LE(r.y, one.top);
    EXPECT_GE(r.y + r.height, one.bottom);
    enter();
    ASSERT_NE(window().marked(), nullptr);
    const render::Box two = *window().marked();
    EXPECT_NE(one, two);
    EXPECT_GT(one.right, two.right) << "vertical writing reads from the right";
    enter();
    EXPECT_EQ(*window().marked(), one) << "and round again";

    // The mark is drawn over the chart, in red.
    const QImage shown = picture();
    bool red = false;
    for (int y = 0; y < shown.height() && !red; ++y) {
        for (int x = 0; x < shown.width() && !red; ++x) {
            red = shown.pixel(x, y) == qRgb(220, 0, 0);
        }
    }
    EXPECT_TRUE(red);

    EXPECT_TRUE(window().findPerson("１"));
    const render::Box byNumber = *window().marked();
    EXPECT_TRUE(byNumber == one || byNumber == two);
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(ChartWindowView, SearchWithoutAMatchSaysSo) {
    EXPECT_FALSE(window().findPerson("徳川家康"));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_NE(dialogs.messages().back().find("「徳川家康」に当たる人物は、この図面にありません。"),
              std::string::npos);
    EXPECT_EQ(window().marked(), nullptr);
    EXPECT_FALSE(window().findPerson("999"));
}

} // namespace
} // namespace gui_test
