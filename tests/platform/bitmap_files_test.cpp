// "図面.BMP" and the PNG of the samples' chart, written in bands a few rows high so that
// every band boundary crosses glyphs, lines and blocks: the PNG read back has exactly the
// bitmap's pixels, both files equal those written in one band, and a failed write leaves the
// old file whole.
#include "platform/png_file.h"
#include "platform/qt_glyphs.h"

#include "common/file_io.h"
#include "core/data_folder.h"
#include "render/bitmap_file.h"
#include "render/chart_run.h"
#include "tests/support/bytes.h"
#include "tests/support/fault_ops.h"
#include "tests/support/test_support.h"

#include <QImage>

#include "qt_application.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

namespace fs = std::filesystem;

class BitmapFiles : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ensureApplication();
        const fs::path samples(TSUBAKI_SAMPLES_DIR);
        const core::DataFolder data = core::DataFolder::load(
            samples, core::readEnvironment(samples / "KANKYO.TXT"), [] { return true; });
        core::DrawingSettings s = data.settings;
        s.家族No表示 = true;
        s.当事者No表示 = true;
        render::ChartRequest request;
        request.baseFamily = 3;
        render::ChartOutcome outcome = render::runChart(data.reg, s, data.env, request, glyphs);
        ASSERT_TRUE(outcome.ok());
        drawing = outcome.drawing->recording;
    }
    platform::QtGlyphs glyphs;
    std::shared_ptr<const render::Drawing> drawing;
    testing_support::TempDir dir;
};

TEST_F(BitmapFiles, ThePngHasTheBitmapsPixelsWhateverTheBands) {
    const std::size_t band = 7 * static_cast<std::size_t>(drawing->width()); // 7 rows
    render::writeBmp(*drawing, glyphs, dir.path() / "banded.bmp", band);
    render::writeBmp(*drawing, glyphs, dir.path() / "whole.bmp", std::size_t(1) << 30);
    platform::writePng(*drawing, glyphs, dir.path() / "banded.png", band);
    platform::writePng(*drawing, glyphs, dir.path() / "whole.png", std::size_t(1) << 30);
    const std::string bmp = common::readFile(dir.path() / "banded.bmp");
    EXPECT_EQ(bmp, common::readFile(dir.path() / "whole.bmp"));
    EXPECT_EQ(common::readFile(dir.path() / "banded.png"),
              common::readFile(dir.path() / "whole.png"));

    QImage png;
    ASSERT_TRUE(png.load(QString::fromStdString((dir.path() / "banded.png").string())));
    ASSERT_EQ(png.format(), QImage::Format_Indexed8);
    const int w = drawing->width();
    const int h = drawing->height();
    ASSERT_EQ(png.size(), QSize(w, h));
    ASSERT_EQ(static_cast<int>(testing_support::le32(bmp, 18)), w);
    const int stride = (w + 3) / 4 * 4;
    int differences = 0;
    int coloured = 0;
    for (int y = 0; y < h; ++y) {
        const std::size_t row = 118 + static_cast<std::size_t>(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            const int fromBmp = static_cast<unsigned char>(bmp[row + x]) ^ 15;
            differences += png.pixelIndex(x, y) != fromBmp;
            coloured += fromBmp != 15 && fromBmp != 0 && fromBmp != 1;
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_GT(coloured, 100) << "the numbers in their colours";
    for (int i = 0; i < render::kPaletteSize; ++i) {
        const render::Rgb& c = render::kPalette[static_cast<std::size_t>(i)];
        EXPECT_EQ(png.color(i), qRgb(c.r, c.g, c.b)) << i;
    }
}

// Widths that do not fill the PNG's last byte (two pixels a byte) or the BMP's last four:
// every pixel read back in its place, in every colour.
TEST_F(BitmapFiles, OddWidthsAndEveryColour) {
    for (const int width : {1, 7, 9, 17, 33}) {
        render::DrawingCanvasFactory factory(glyphs);
        auto chart = factory.chart(width, 70);
        for (int c = 0; c < render::kPaletteSize; ++c) {
            chart->fillRect(c % width, 4 * c, width - 1, 4 * c + 2, c);
        }
        const auto d = chart->finish();
        render::writeBmp(*d, glyphs, dir.path() / "odd.bmp", 3 * static_cast<std::size_t>(width));
        platform::writePng(*d, glyphs, dir.path() / "odd.png", 3 * static_cast<std::size_t>(width));
        const std::string bmp = common::readFile(dir.path() / "odd.bmp");
        QImage png;
        ASSERT_TRUE(png.load(QString::fromStdString((dir.path() / "odd.png").string())));
        const int stride = (width + 3) / 4 * 4;
        ASSERT_EQ(bmp.size(), 118u + static_cast<std::size_t>(stride) * 70u);
        for (int y = 0; y < 70; ++y) {
            for (int x = 0; x < width; ++x) {
                const int c = y / 4;
                const int expected = c < render::kPaletteSize && y % 4 < 3 && x >= c % width
                                         ? c
                                         : render::kBackgroundColour;
                const int fromBmp =
                    static_cast<unsigned char>(bmp[118 + static_cast<std::size_t>(69 - y) * stride +
                                                   static_cast<std::size_t>(x)]) ^
                    15;
                ASSERT_EQ(fromBmp, expected) << width << ": " << x << "," << y;
                ASSERT_EQ(png.pixelIndex(x, y), expected) << width << ": " << x << "," << y;
            }
        }
    }
}

// Each file operation of writing over an existing bitmap, failed in turn: the write is
// refused, the old file stays whole and no temporary file is left beside it.
TEST_F(BitmapFiles, AFailedWriteLeavesTheOldFile) {
    const std::size_t band = 7 * static_cast<std::size_t>(drawing->width());
    const std::function<void(const fs::path&)> writers[] = {
        [&](const fs::path& f) { render::writeBmp(*drawing, glyphs, f, band); },
        [&](const fs::path& f) { platform::writePng(*drawing, glyphs, f, band); },
    };
    for (const auto& write : writers) {
        const fs::path file = dir.path() / "図面";
        common::replaceFile(file, "old");
        testing_support::FaultyFileOps counter;
        {
            const common::ScopedFileOps scoped(counter);
            write(file);
        }
        ASSERT_GT(counter.count(), 2);
        for (long at = 0; at < counter.count(); ++at) {
            common::replaceFile(file, "old");
            testing_support::FaultyFileOps faulty(testing_support::FaultyFileOps::Mode::Fail, at,
                                                  at % 2 == 0 ? EIO : ENOSPC);
            {
                const common::ScopedFileOps scoped(faulty);
                EXPECT_THROW(write(file), common::FileError) << "operation " << at;
            }
            // A failure after the rename (the folder's sync) leaves the new file; before it
            // the old one.
            const std::string now = common::readFile(file);
            EXPECT_TRUE(now == "old" || now.size() > 1000) << "operation " << at;
            EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()),
                      1)
                << "operation " << at;
        }
    }
    EXPECT_THROW(platform::writePng(*drawing, glyphs, dir.path() / "no" / "x.png"),
                 common::FileError);
    EXPECT_THROW(render::writeBmp(*drawing, glyphs, dir.path() / "no" / "x.bmp"),
                 common::FileError);
}

} // namespace
