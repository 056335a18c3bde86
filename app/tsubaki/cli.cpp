#include "app/tsubaki/cli.h"
#include "app/tsubaki/cli_legal.h"

#include "common/file_io.h"
#include "common/folder_transaction.h"
#include "core/backup.h"
#include "core/constants.h"
#include "core/data_folder.h"
#include "core/register_dump.h"
#include "layout/chart_layout.h"
#include "layout/chart_survey.h"
#include "layout/layout_json.h"
#include "platform/chart_font.h"
#include "platform/paper_painter.h"
#include "platform/png_file.h"
#include "platform/qt_glyphs.h"
#include "render/bitmap_file.h"
#include "render/chart_run.h"
#include "render/legal_chart.h"
#include "render/page_setup.h"

#include <QGuiApplication>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>

namespace app {

namespace {

constexpr const char* kUsage =
    "使い方: tsubaki [DATA_FOLDER]\n"
    "        tsubaki --dump DATA_FOLDER\n"
    "        tsubaki --upgrade DATA_FOLDER\n"
    "        tsubaki --layout DATA_FOLDER [--family N] [--cell WxH]"
    " [--centre husband|wife]\n"
    "        tsubaki --chart OUT_FILE(.bmp|.png) DATA_FOLDER [--family N]"
    " [--centre husband|wife] [--form tree|list] [--strict]\n"
    "        tsubaki --text OUT_FILE DATA_FOLDER [--family N]"
    " [--centre husband|wife] [--form tree|list] [--strict]\n"
    "        tsubaki --pdf OUT_FILE.pdf DATA_FOLDER [--family N] [--centre husband|wife]\n"
    "              [--form tree|list] [--strict] [--paper A4|A3|B4|B5]\n"
    "              [--orientation portrait|landscape] [--margin MM] [--min-font-pt P]"
    " [--one-page]\n"
    "        tsubaki --heirs DATA_FOLDER [--family N] [--centre husband|wife] [--json]\n"
    "        tsubaki --check DATA_FOLDER [--family N] [--centre husband|wife]"
    " [--form tree|list]\n";

bool fileExists(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::exists(p, ec);
}

// Where the job's notices go (the recovery line): the job's error stream.
std::ostream* notices = nullptr;

core::DataFolder loadFolder(const std::string& folder) {
    const std::filesystem::path dir(folder);
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        throw common::FileError("データフォルダ「" + folder + "」が見つかりません");
    }
    // What a killed run left is put right before anything is read.
    const std::string recovered = common::recoverFolder(dir);
    if (!recovered.empty() && notices != nullptr) {
        *notices << recovered << "\n";
    }
    core::Environment env = core::readEnvironment(std::string(core::kEnvironmentFile));
    // Older layouts are read without asking: the caller either writes nothing or was asked
    // for the conversion.
    return core::DataFolder::load(dir, std::move(env), [] { return true; });
}

int dump(const std::string& folder, std::ostream& out) {
    out << core::registersJson(loadFolder(folder));
    return 0;
}

int upgrade(const std::string& folder, std::ostream& out) {
    core::DataFolder data = loadFolder(folder);
    const core::PersonRegisterLayout& layout = data.personLayout;
    const auto backup = core::データバックアップ_SUB(data.folder);
    if (!backup) {
        throw common::FileError(
            "同じ時刻のバックアップがすでにあります。1 秒待ってからやり直してください");
    }
    out << "バックアップ: " << backup->string() << "\n";
    // Every register is rewritten in one folder transaction: all in the current layout, or
    // (on failure) all as they were.
    std::vector<core::Part> parts;
    const bool persons = fileExists(data.folder / core::kPersonFile);
    if (persons) {
        parts.push_back(core::Part::Persons);
    }
    if (data.familyFilePresent) {
        parts.push_back(core::Part::Families);
    }
    if (data.settingsFilePresent) {
        parts.push_back(core::Part::Settings);
    }
    data.save(parts);
    if (persons) {
        out << "書き込み: " << core::kPersonFile << "（" << data.reg.personCount() << " 人";
        if (layout.isOld()) {
            out << "、" << (layout.hasVersion ? "V" + std::to_string(layout.version) : "版表示なし")
                << " から現行の形式へ";
        }
        out << "）\n";
        out << "書き込み: " << core::kFounderFile << "\n";
        out << "書き込み: " << core::kNameOrderFile << "\n";
    }
    if (data.familyFilePresent) {
        out << "書き込み: " << core::kFamilyFile << "（" << data.reg.familyCount() << " 家族）\n";
    }
    if (data.settingsFilePresent) {
        out << "書き込み: " << core::kSettingsFile << "\n";
    }
    return 0;
}

// A whole number written in decimal digits only, within [low, high].
std::optional<int> parseWhole(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// A QGuiApplication (off screen) for the chart font and canvases, made for the job when
// none exists; kept alive as long as the returned pointer.
std::unique_ptr<QGuiApplication> guiForFonts() {
    std::unique_ptr<QGuiApplication> app;
    if (QCoreApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int argc = 1;
        static char name[] = "tsubaki";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    return app;
}

// The cell metrics of the chart font at the folder's font size.
platform::CellMetrics measureCell(float fontSize) {
    const auto app = guiForFonts();
    return platform::measureChartCell(fontSize);
}

// The ending of a file name in lower case ASCII, with its dot.
std::string lowerExtension(const std::string& file) {
    std::string ext = std::filesystem::path(file).extension().string();
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return ext;
}

// The options the drawing jobs share: --family N, --centre husband|wife, and those of some
// jobs: --cell WxH (--layout), --form tree|list and --strict (--chart, --text; --form also
// --check), --json (--heirs).
struct JobOptions {
    std::optional<int> family;
    std::optional<platform::CellMetrics> cell;
    std::optional<bool> centreOnHusband;
    std::optional<core::ListChartForm> form;
    bool strict = false;
    bool json = false;
};

// The job-specific options a job takes.
enum JobOption : unsigned { kCell = 1, kForm = 2, kStrict = 4, kJson = 8 };

// Reads the options from args[first] on (values follow their option). Writes the message
// and returns false for anything else.
bool parseJobOptions(const std::vector<std::string>& args, std::size_t first, unsigned allowed,
                     JobOptions& o, std::ostream& err) {
    const bool cellAllowed = (allowed & kCell) != 0;
    for (std::size_t i = first; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if ((option == "--strict" && (allowed & kStrict) != 0) ||
            (option == "--json" && (allowed & kJson) != 0)) {
            (option == "--strict" ? o.strict : o.json) = true;
            --i; // a switch without a value
            continue;
        }
        if (option == "--strict" || option == "--json") {
            err << "不明なオプション「" << option << "」\n" << kUsage;
            return false;
        }
        if (i + 1 >= args.size()) {
            err << option << " の値がありません\n" << kUsage;
            return false;
        }
        const std::string& value = args[i + 1];
        if (option == "--family") {
            o.family = parseWhole(value, 1, 32767);
            if (!o.family) {
                err << "--family の値「" << value << "」は家族番号ではありません\n";
                return false;
            }
        } else if (option == "--cell" && cellAllowed) {
            const std::size_t x = value.find('x');
            const auto w =
                x == std::string::npos ? std::nullopt : parseWhole(value.substr(0, x), 1, 1000);
            const auto h =
                x == std::string::npos ? std::nullopt : parseWhole(value.substr(x + 1), 1, 1000);
            if (!w || !h) {
                err << "--cell の値「" << value
                    << "」は 幅x高さ（1 から 1000 までの画素数、例 21x21）ではありません\n";
                return false;
            }
            o.cell = platform::CellMetrics{*w, *h};
        } else if (option == "--centre") {
            if (value != "husband" && value != "wife") {
                err << "--centre の値「" << value << "」は husband か wife にしてください\n";
                return false;
            }
            o.centreOnHusband = value == "husband";
        } else if (option == "--form" && (allowed & kForm) != 0) {
            o.form = core::listChartFormFrom(value);
            if (!o.form) {
                err << "--form の値「" << value << "」は tree か list にしてください\n";
                return false;
            }
        } else {
            err << "不明なオプション「" << option << "」\n" << kUsage;
            return false;
        }
    }
    return true;
}

// The base family of a drawing job: --family, else the stored base family, else the
// current family; 0 (with the message written) when there is none.
int baseFamily(const core::DataFolder& data, const JobOptions& o, std::ostream& err) {
    const int base =
        o.family ? *o.family : layout::defaultBaseFamily(data.settings, data.reg.familyCount());
    if (base == 0) {
        err << "作図する家族がありません（基準家族も現在の家族も決まっていません）\n";
    }
    return base;
}

// The paper of --pdf: what its options chose, on the defaults of the chart's kind.
struct PaperOptions {
    std::optional<render::Paper> paper;
    std::optional<render::Orientation> orientation;
    std::optional<double> margin;
    std::optional<double> minFontPoints;
    bool onePage = false;

    render::PageSetup setupFor(render::DrawingKind kind) const {
        render::PageSetup setup = kind == render::DrawingKind::ListChart
                                      ? render::listChartDefaults()
                                      : render::PageSetup{};
        setup.paper = paper.value_or(setup.paper);
        setup.orientation = orientation.value_or(setup.orientation);
        if (margin) {
            setup.margins = {*margin, *margin, *margin, *margin};
        }
        setup.minFontPoints = minFontPoints.value_or(setup.minFontPoints);
        setup.onePage = onePage;
        return setup;
    }
};

// A number of millimetres or points in decimal digits ("12", "7.5") within [low, high].
std::optional<double> parseMeasure(const std::string& text, double low, double high) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || text[0] == '-' || text[0] == '+' || ec != std::errc() || ptr != end ||
        !(value >= low && value <= high)) {
        return std::nullopt;
    }
    return value;
}

// Takes the paper options out of args[first..]; what is left goes to the drawing options.
bool takePaperOptions(std::vector<std::string>& args, std::size_t first, PaperOptions& o,
                      std::ostream& err) {
    std::vector<std::string> rest(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(first));
    for (std::size_t i = first; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--one-page") {
            o.onePage = true;
            continue;
        }
        if (option != "--paper" && option != "--orientation" && option != "--margin" &&
            option != "--min-font-pt") {
            rest.push_back(option);
            continue;
        }
        if (i + 1 >= args.size()) {
            err << option << " の値がありません\n" << kUsage;
            return false;
        }
        const std::string& value = args[++i];
        if (option == "--paper") {
            render::Paper paper;
            if (!render::paperFromName(value, paper)) {
                err << "--paper の値「" << value << "」は A4、A3、B4、B5 のどれかにしてください\n";
                return false;
            }
            o.paper = paper;
        } else if (option == "--orientation") {
            if (value != "portrait" && value != "landscape") {
                err << "--orientation の値「" << value
                    << "」は portrait（縦）か landscape（横）にしてください\n";
                return false;
            }
            o.orientation = value == "portrait" ? render::Orientation::Portrait
                                                : render::Orientation::Landscape;
        } else if (option == "--margin") {
            o.margin = parseMeasure(value, 0, render::kLargestMargin);
            if (!o.margin) {
                err << "--margin の値「" << value << "」は 0 から 100 までの mm にしてください\n";
                return false;
            }
        } else {
            o.minFontPoints = parseMeasure(value, render::kSmallestFloor, render::kLargestFloor);
            if (!o.minFontPoints) {
                err << "--min-font-pt の値「" << value
                    << "」は 1 から 72 までのポイント数にしてください\n";
                return false;
            }
        }
    }
    args = std::move(rest);
    return true;
}

// The chart as a PDF on the paper of `paper`, with the page count and the scale reported.
int writePdfJob(const render::Drawing& drawing, render::GlyphSource& glyphs,
                const PaperOptions& paper, const std::string& outFile, std::ostream& out,
                std::ostream& err) {
    const render::PageSetup setup = paper.setupFor(drawing.kind);
    render::PagePlan plan;
    try {
        plan = render::planPages(render::pageContentOf(drawing), setup);
    } catch (const render::PaperError& e) {
        err << e.what() << "\n";
        return 1;
    }
    platform::writePdf(drawing, glyphs, plan, outFile);
    out << "書き込み: " << outFile << "（" << render::planSummary(setup, plan) << "）\n";
    if (!plan.legible) {
        char points[32];
        std::snprintf(points, sizeof points, "%.1f", plan.textPoints);
        err << "注意: 1 枚に収めたため、文字は " << points << " ポイントです（読みやすさの下限 "
            << setup.minFontPoints << " ポイントより小さい）\n";
    }
    return 0;
}

// The output file's extension fits the job: .pdf for --pdf, .bmp or .png for --chart (--text
// takes any).
bool outputFits(const std::string& outFile, bool text, const PaperOptions* paper,
                std::ostream& err) {
    const std::string ext = lowerExtension(outFile);
    if (paper != nullptr && ext != ".pdf") {
        err << "出力ファイル「" << outFile << "」の拡張子は .pdf にしてください\n";
        return false;
    }
    if (!text && paper == nullptr && ext != ".bmp" && ext != ".png") {
        err << "出力ファイル「" << outFile << "」の拡張子は .bmp か .png にしてください\n";
        return false;
    }
    return true;
}

// The legal chart the settings choose, with the stored heirs, applicant and creator. Nothing
// is asked: --centre answers for the base family only. nullopt, with `exitCode` set, when the
// chart cannot be prepared (1) or its findings stop it (2).
std::optional<render::ChartOutcome>
drawLegalChartJob(render::LegalChartKind kind, const core::DataFolder& data,
                  const JobOptions& options, const render::ChartRequest& request,
                  render::GlyphSource& glyphs, int& exitCode, std::ostream& err) {
    const int base = request.baseFamily;
    const std::optional<bool> centreOnHusband = options.centreOnHusband;
    render::DrawingCanvasFactory factory(glyphs); // measures the legal headings
    render::LegalChartOutcome prepared = render::prepareLegalChart(
        kind, data.reg, data.settings, base, request.textMode, factory,
        [&](const layout::CentreQuestion& q) -> std::optional<bool> {
            return q.family == base ? centreOnHusband : std::nullopt;
        },
        options.form.value_or(data.options.listChartForm));
    if (!prepared.ok()) {
        err << prepared.failure->title << "\n" << prepared.failure->text << "\n";
        if (prepared.unansweredFamily == base) {
            err << "（--centre husband または --centre wife で答えてください）\n";
        } else if (prepared.unansweredFamily != 0) {
            err << "（家族No." << prepared.unansweredFamily
                << " の父系・母系を「家族の詳細設定」で決めてから作図してください）\n";
        }
        exitCode = 1;
        return std::nullopt;
    }
    if (!legalFindingsAllowDrawing(data, *prepared.chart, options.strict, err)) {
        exitCode = 2;
        return std::nullopt;
    }
    return render::drawLegalChart(*prepared.chart, data.env, request, glyphs);
}

// The drawing written as the job asks: the text drawing, the PDF, a PNG or a BMP.
int writeChartJobOutput(const render::ChartDrawing& drawing, render::GlyphSource& glyphs, bool text,
                        const PaperOptions* paper, const std::string& outFile, std::ostream& out,
                        std::ostream& err) {
    if (text) {
        drawing.text->exportTo(outFile);
        out << "書き込み: " << outFile << "（" << drawing.text->rowCount() << " 行、"
            << drawing.text->columns() << " 桁）\n";
        return 0;
    }
    if (paper != nullptr) {
        return writePdfJob(*drawing.recording, glyphs, *paper, outFile, out, err);
    }
    if (lowerExtension(outFile) == ".png") {
        platform::writePng(*drawing.recording, glyphs, outFile);
    } else {
        render::writeBmp(*drawing.recording, glyphs, outFile);
    }
    out << "書き込み: " << outFile << "（" << drawing.width << "×" << drawing.height
        << " ピクセル）\n";
    return 0;
}

// --chart OUT_FILE DATA_FOLDER [--family N] [--centre husband|wife], and --text alike: the
// chart run with the folder's drawing settings, written as BMP, PNG or "図面.TXT"; the legal
// chart those settings choose (相続関係説明図 or 法定相続情報一覧図) with the stored heirs,
// applicant and creator. The registers and the folder's files are left as they were (the
// centre answer is used for this chart only).
int chartJob(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const PaperOptions* paper = nullptr) {
    const bool text = args[0] == "--text";
    if (args.size() < 3) {
        err << kUsage;
        return 1;
    }
    const std::string& outFile = args[1];
    JobOptions options;
    if (!outputFits(outFile, text, paper, err) ||
        !parseJobOptions(args, 3, kForm | kStrict, options, err)) {
        return 1;
    }
    // The folder is read while Qt and the chart font start.
    auto loading = std::async(std::launch::async, [&] { return loadFolder(args[2]); });
    const auto app = guiForFonts();
    platform::loadChartFont();
    const core::DataFolder data = loading.get();
    const int base = baseFamily(data, options, err);
    if (base == 0) {
        return 1;
    }

    platform::QtGlyphs glyphs;
    render::ChartRequest request;
    request.baseFamily = base;
    request.textMode = text;
    request.answer = [&](const layout::CentreQuestion&) { return options.centreOnHusband; };
    std::optional<render::ChartOutcome> outcome;
    if (const auto kind = render::legalChartKind(data.settings)) {
        int exitCode = 0;
        outcome = drawLegalChartJob(*kind, data, options, request, glyphs, exitCode, err);
        if (!outcome) {
            return exitCode;
        }
    } else {
        outcome = render::runChart(data.reg, data.settings, data.env, request, glyphs);
    }
    if (!outcome->ok()) {
        const render::ChartFailure& f = *outcome->failure;
        err << f.title << "\n" << f.text << "\n";
        if (f.surveyError && f.surveyError->kind == layout::SurveyError::Kind::CentreUnanswered) {
            err << "（--centre husband または --centre wife で答えてください）\n";
        }
        return 1;
    }
    return writeChartJobOutput(*outcome->drawing, glyphs, text, paper, outFile, out, err);
}

// --heirs DATA_FOLDER [--family N] [--centre husband|wife] [--json], and --check
// DATA_FOLDER [--family N] [--centre husband|wife] [--form tree|list] (cli_legal.h).
int heirsOrCheckJob(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const bool heirs = args[0] == "--heirs";
    JobOptions options;
    if (!parseJobOptions(args, 2, heirs ? kJson : kForm, options, err)) {
        return 1;
    }
    const core::DataFolder data = loadFolder(args[1]);
    const int base = baseFamily(data, options, err);
    if (base == 0) {
        return 1;
    }
    const int deceased = legalDeceased(data, base, options.centreOnHusband, err);
    if (deceased == 0) {
        return 1;
    }
    if (heirs) {
        return heirsJob(data, base, deceased, options.json, out);
    }
    return checkJob(data, base, deceased, options.form.value_or(data.options.listChartForm), out,
                    err);
}

// --pdf OUT_FILE DATA_FOLDER [options of --chart] [paper options]: the chart drawn by
// chartJob exactly as for --chart (a legal chart with whatever chartJob does before drawing
// one), then put on paper instead of into a bitmap.
int pdfJob(std::vector<std::string> args, std::ostream& out, std::ostream& err) {
    if (args.size() < 3) {
        err << kUsage;
        return 1;
    }
    PaperOptions paper;
    if (!takePaperOptions(args, 3, paper, err)) {
        return 1;
    }
    return chartJob(args, out, err, &paper);
}

// --layout DATA_FOLDER [--family N] [--cell WxH] [--centre husband|wife]
int layoutJob(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    JobOptions jobOptions;
    if (!parseJobOptions(args, 2, kCell, jobOptions, err)) {
        return 1;
    }
    std::optional<platform::CellMetrics> cell = jobOptions.cell;
    const std::optional<bool> centreOnHusband = jobOptions.centreOnHusband;
    const core::DataFolder data = loadFolder(args[1]);
    const int base = baseFamily(data, jobOptions, err);
    if (base == 0) {
        return 1;
    }
    const layout::SurveyOptions options = layout::surveyOptions(data.settings, data.env, base);
    const layout::SurveyOutcome outcome = layout::surveyChart(
        data.reg, options, [&](const layout::CentreQuestion&) { return centreOnHusband; });
    if (!outcome.ok()) {
        const layout::SurveyError& e = *outcome.error;
        err << e.title << "\n" << e.text << "\n";
        if (e.kind == layout::SurveyError::Kind::CentreUnanswered) {
            err << "（--centre husband または --centre wife で答えてください）\n";
        }
        return 1;
    }
    if (!cell) {
        cell = measureCell(data.settings.FONT_SIZE);
    }
    const layout::BlockStyle style = layout::blockStyle(data.settings, cell->CW, cell->CH);
    layout::PlacementOptions placement;
    placement.最下層部を広げる値 = static_cast<int>(std::lround(data.settings.最下層部を広げる値));
    const layout::ChartLayout chart = layout::layoutChart(*outcome.result, style, placement);
    out << layout::layoutJson(*outcome.result, chart) << "\n";
    return 0;
}

} // namespace

bool isHeadlessJob(const std::vector<std::string>& args) {
    return !args.empty() && args[0].rfind("--", 0) == 0;
}

int runHeadlessJob(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    notices = &err;
    try {
        if (args.size() == 2 && args[0] == "--dump") {
            return dump(args[1], out);
        }
        if (args.size() == 2 && args[0] == "--upgrade") {
            return upgrade(args[1], out);
        }
        if (args.size() >= 2 && args[0] == "--layout") {
            return layoutJob(args, out, err);
        }
        if (!args.empty() && (args[0] == "--chart" || args[0] == "--text")) {
            return chartJob(args, out, err);
        }
        if (args.size() >= 2 && (args[0] == "--heirs" || args[0] == "--check")) {
            return heirsOrCheckJob(args, out, err);
        }
        if (!args.empty() && args[0] == "--pdf") {
            return pdfJob(args, out, err);
        }
        if (!args.empty() && args[0] == "--help") {
            out << kUsage;
            return 0;
        }
        err << kUsage;
        return 1;
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
}

} // namespace app
