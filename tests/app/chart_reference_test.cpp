// The bitmaps and text drawings of `tsubaki --chart` and `--text` compared byte for byte with
// files this program wrote before its drawing was recorded and replayed band by band: the
// samples and a generated family of a thousand persons, in both writing directions, with
// the person and family numbers, kanji numerals, spacings, thick lines and the legal charts.
// The files themselves are large (a thousand persons make a bitmap of 180 MB); their SHA-256
// digests are kept here.
//
// TSUBAKI_PRINT_CHART_DIGESTS=1 prints the digests of what is written now instead of
// comparing (to record them from a known-good build).
#include "sample_folder_job.h"

#include "register_generator.h"
#include "tests/support/test_support.h"

#include "common/file_io.h"
#include "core/data_folder.h"

#include <QCryptographicHash>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::map<std::string, std::string>& expectedDigests() {
    static const std::map<std::string, std::string> digests = {
        {"samples-vertical.bmp",
         "1b0de325a506c790c5590dd671ce19e8afda21025bda0f7b32d466066a75b509"},
        {"samples-vertical.txt",
         "bef8541f547ce00f5d2c61d4a236bfb427e9f95bac84ba06fd2190eae898b681"},
        {"samples-horizontal.bmp",
         "c7155f80fa482d4a715ee1b5bb63ba5d3fbbe456484cc070d38f3f24720806c2"},
        {"samples-numbers-vertical.bmp",
         "f3f3c420138b8eb8b574c3aa1f3f2698dbe2f70d4f823373eb9987ba74c284fd"},
        {"samples-numbers-horizontal.bmp",
         "eb28573d83293d7aefd6786b36a6603d67c1f4db4a98b7e500d47c61a118cb1b"},
        {"samples-everything-vertical.bmp",
         "368406e42cf18960f9c97101d55ee0db200d80673765341588c996fa484d346f"},
        {"samples-everything-vertical.txt",
         "8b9cb39fc93c8bb386ea73c2bf7b8f1277d04136078ebf222264a9d9a6cf1a94"},
        {"samples-everything-horizontal.bmp",
         "7774b6cd7feadd4d6680f5c2d1cd3d5203fdb9c385511f1878c68869d7fb472c"},
        {"explanation-vertical.bmp",
         "c658be64e54111abb6385889d608f5f1f634956f1c5513a7408b6c4fed078948"},
        {"explanation-horizontal.bmp",
         "2c8fdea518f0a64aff8b7e98a64a8f700f4d0a0bb97cfa967344b8f6b3b389d9"},
        {"explanation-horizontal.txt",
         "43fded332cf9a09ad91a696061425ac16d06d14580313f26e9e46fb2d5616c22"},
        // The list chart leaves out the family of the wife's parents (a pair of bare labels,
        // （母）‖（父）, connected to nothing); everything above it is as before.
        {"list.bmp", "6b20d3d02c8d844cfabbccf21ff6fcc3a76769f90af3c40f8ec0722f65cefc72"},
        {"list.txt", "40fdff27e4f60ee9a47be856337704ba78d4c02e0580593beeb5453612110862"},
        {"generated-vertical.bmp",
         "8d5bed348ce3ec36deb4f4fb61adc5641fb44c4c4899defbe495f9a79cf55d97"},
        {"generated-numbers-vertical.bmp",
         "2135ff596afd34bf2402cd2b5ccde4b03b62fff1f88602b60166950cedb825fe"},
        {"generated-everything-horizontal.bmp",
         "3c059702889b0636f4c46e9f880fc67adc7ba8254a00847f40cb23f602b9929c"},
        {"generated-everything.txt",
         "4bf71c6912ca49ea38730edad11452631e32ef5a6f21e9bb638bdff93d70d4ec"},
    };
    return digests;
}

std::string sha256(const fs::path& file) {
    QFile f(QString::fromStdString(file.string()));
    if (!f.open(QIODevice::ReadOnly)) {
        return "unreadable";
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result().toHex().toStdString();
}

void horizontal(core::DataFolder& d) {
    d.settings.縦書き = false;
    d.settings.横書き = true;
}

// The person and family numbers at the chart font's own size (16 points: half-width digits
// fall between pixels) and the tree separators.
void numbers(core::DataFolder& d) {
    d.settings.家族No表示 = true;
    d.settings.当事者No表示 = true;
    d.settings.系図毎に区切る = true;
}

// Numbers, labels, spacing, thick lines and formal numerals: every path of the drawing.
void everything(core::DataFolder& d) {
    d.settings.家族No表示 = true;
    d.settings.当事者No表示 = true;
    d.settings.系図毎に区切る = true;
    d.settings.本籍欄 = true;
    d.settings.住所欄 = true;
    d.settings.備考欄１ = true;
    d.settings.本籍欄に_本籍_と入れる = true;
    d.settings.FONT_SIZE = 12;
    d.settings.字間 = 2;
    d.settings.行間 = 3;
    d.settings.ラインの太さ = 3;
    d.settings.漢数字の設定 = 2;
}

class ChartReference : public testing_support::SampleFolderJob {
protected:
    // Writes OUT with `option` (--chart or --text) and checks its digest under `name`.
    void expectDigest(const std::string& name, const std::string& option, const std::string& file,
                      const fs::path& folder) {
        const fs::path written = out(file);
        ASSERT_EQ(run({option, written.string(), folder.string()}), 0)
            << name << ": " << err_.str();
        const std::string digest = sha256(written);
        fs::remove(written);
        if (std::getenv("TSUBAKI_PRINT_CHART_DIGESTS") != nullptr) {
            std::cout << "        {\"" << name << "\", \"" << digest << "\"},\n";
            return;
        }
        const auto it = expectedDigests().find(name);
        ASSERT_NE(it, expectedDigests().end()) << "no reference for " << name;
        EXPECT_EQ(digest, it->second) << name << " differs from the reference";
    }
    void bothOutputs(const std::string& name) {
        expectDigest(name + ".bmp", "--chart", "図面.BMP", dir_);
        expectDigest(name + ".txt", "--text", "図面.TXT", dir_);
    }
};

TEST_F(ChartReference, TheSamplesInBothDirections) {
    bothOutputs("samples-vertical");
    editFolder(horizontal);
    expectDigest("samples-horizontal.bmp", "--chart", "図面.BMP", dir_);
}

TEST_F(ChartReference, NumbersAtTheChartFontSize) {
    editFolder(numbers);
    expectDigest("samples-numbers-vertical.bmp", "--chart", "図面.BMP", dir_);
    editFolder(horizontal);
    expectDigest("samples-numbers-horizontal.bmp", "--chart", "図面.BMP", dir_);
}

TEST_F(ChartReference, NumbersSpacingAndThickLines) {
    editFolder(everything);
    bothOutputs("samples-everything-vertical");
    editFolder(horizontal);
    expectDigest("samples-everything-horizontal.bmp", "--chart", "図面.BMP", dir_);
}

TEST_F(ChartReference, TheLegalCharts) {
    editFolder([](core::DataFolder& d) { d.settings.相続関係説明図にする = true; });
    expectDigest("explanation-vertical.bmp", "--chart", "図面.BMP", dir_);
    editFolder(horizontal);
    bothOutputs("explanation-horizontal");
    editFolder([](core::DataFolder& d) {
        d.settings.相続関係説明図にする = false;
        d.settings.法定相続情報一覧図にする = true;
        d.reg.family(2).系統_F = core::Lineage::Paternal;
        d.reg.family(4).系統_F = core::Lineage::Paternal;
    });
    bothOutputs("list");
}

TEST_F(ChartReference, AThousandGeneratedPersons) {
    testing_support::TempDir generated;
    bench::GeneratorOptions options;
    options.persons = 1000;
    core::DataFolder data = bench::writeGeneratedFolder(generated.path(), options);
    fs::current_path(generated.path()); // its "KANKYO.TXT"
    expectDigest("generated-vertical.bmp", "--chart", "図面.BMP", generated.path());

    numbers(data);
    data.saveSettings();
    expectDigest("generated-numbers-vertical.bmp", "--chart", "図面.BMP", generated.path());

    horizontal(data);
    everything(data);
    data.saveSettings();
    expectDigest("generated-everything-horizontal.bmp", "--chart", "図面.BMP", generated.path());
    expectDigest("generated-everything.txt", "--text", "図面.TXT", generated.path());
}

} // namespace
