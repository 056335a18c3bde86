// The chart run and its outputs on generated registers (ten generations), first-use settings
// (vertical writing, kanji numerals) with the name, birth and death date fields shown:
//   Record      survey, layout and the recorded drawing (blocks typeset with the chart font)
//   Bitmap      "図面.BMP" rasterised band by band from the recording and written to memory
//   TextDrawing the run in text mode up to the bytes of "図面.TXT"
//   WindowOpen  what the chart window does when it opens: the chart run and the first paint,
//               the tiles of a 1300 × 800 view at 100% at the chart's beginning (peak_MB: the
//               program's peak memory so far; run it alone, --benchmark_filter=WindowOpen,
//               for the window's own)
//   WindowFit   the whole chart in that view ("全体表示"), painting only
// Runs off screen: build/bench/chart_bench. The whole programs (`tsubaki --chart` as BMP and
// PNG) against a floor and against Graphviz are timed by bench/chart_figures.sh.
#include "register_generator.h"

// Before any Qt header: the layout names a member "slots".
#include "render/chart_run.h"

#include "platform/offscreen_app.h"
#include "platform/qt_glyphs.h"
#include "render/bitmap_file.h"
#include "render/raster.h"
#include "render/view_raster.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <map>

namespace {

const core::DataFolder& folder(int persons) {
    static std::map<int, core::DataFolder> folders;
    auto it = folders.find(persons);
    if (it == folders.end()) {
        bench::GeneratorOptions o;
        o.persons = persons;
        core::DataFolder data = bench::generateRegisters(o);
        data.settings.生年月日欄 = true;
        data.settings.死亡年月日欄 = true;
        it = folders.emplace(persons, std::move(data)).first;
    }
    return it->second;
}

render::ChartRequest request(bool textMode) {
    render::ChartRequest r;
    r.baseFamily = 1;
    r.textMode = textMode;
    r.answer = [](const layout::CentreQuestion&) { return std::optional<bool>(true); };
    return r;
}

platform::QtGlyphs& glyphs() {
    static platform::QtGlyphs g;
    return g;
}

std::shared_ptr<const render::Drawing> recorded(int persons, bool vertical) {
    core::DataFolder data = folder(persons);
    data.settings.縦書き = vertical;
    data.settings.横書き = !vertical;
    render::ChartOutcome outcome =
        render::runChart(data.reg, data.settings, data.env, request(false), glyphs());
    return outcome.ok() ? outcome.drawing->recording : nullptr;
}

void record(benchmark::State& state, bool vertical) {
    core::DataFolder data = folder(static_cast<int>(state.range(0)));
    data.settings.縦書き = vertical;
    data.settings.横書き = !vertical;
    std::size_t ops = 0;
    for (auto _ : state) {
        render::ChartOutcome outcome =
            render::runChart(data.reg, data.settings, data.env, request(false), glyphs());
        if (!outcome.ok()) {
            state.SkipWithError(outcome.failure->text.c_str());
            return;
        }
        ops = outcome.drawing->recording->ops().size();
        benchmark::DoNotOptimize(ops);
    }
    state.counters["persons"] = data.reg.personCount();
    state.counters["chart_ops"] = static_cast<double>(ops);
}

void BM_Record(benchmark::State& state) {
    record(state, true);
}
BENCHMARK(BM_Record)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// "図面.BMP" written band by band (into /dev/null's kind of sink: a file on /dev/shm when
// there is one, so that the disk does not count).
void BM_Bitmap(benchmark::State& state) {
    const auto drawing = recorded(static_cast<int>(state.range(0)), state.range(1) != 0);
    if (!drawing) {
        state.SkipWithError("not drawn");
        return;
    }
    const std::filesystem::path out =
        std::filesystem::exists("/dev/shm") ? "/dev/shm/chart_bench.bmp" : "/tmp/chart_bench.bmp";
    for (auto _ : state) {
        render::writeBmp(*drawing, glyphs(), out);
    }
    state.counters["width"] = drawing->width();
    state.counters["height"] = drawing->height();
    state.counters["bmp_MB"] = static_cast<double>(std::filesystem::file_size(out)) / 1e6;
    std::filesystem::remove(out);
}
BENCHMARK(BM_Bitmap)
    ->Args({1000, 1})
    ->Args({1000, 0})
    ->Args({10000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_TextDrawing(benchmark::State& state) {
    const core::DataFolder& data = folder(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    int rows = 0;
    for (auto _ : state) {
        render::ChartOutcome outcome =
            render::runChart(data.reg, data.settings, data.env, request(true), glyphs());
        if (!outcome.ok()) {
            state.SkipWithError(outcome.failure->text.c_str());
            return;
        }
        const std::string text = outcome.drawing->text->exportBytes();
        bytes = text.size();
        rows = outcome.drawing->text->rowCount();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["rows"] = rows;
    state.counters["txt_kB"] = static_cast<double>(bytes) / 1e3;
}
BENCHMARK(BM_TextDrawing)->Arg(1000)->Unit(benchmark::kMillisecond);

// The window's view of 1300 × 800 pixels: at 100% at the chart's top right (a fresh tile
// cache each time), and the whole chart fitted into it.
void window(benchmark::State& state, bool fit) {
    const int persons = static_cast<int>(state.range(0));
    auto drawing = recorded(persons, true);
    if (!drawing) {
        state.SkipWithError("not drawn");
        return;
    }
    std::vector<std::uint8_t> view(1300 * 800);
    std::size_t tiles = 0;
    for (auto _ : state) {
        if (!fit) {
            drawing = recorded(persons, true);
        }
        const double scale =
            fit ? std::min(1300.0 / drawing->width(), 800.0 / drawing->height()) : 1.0;
        render::ViewRaster raster(*drawing, glyphs());
        raster.setScale(scale);
        const int right = raster.width();
        raster.paint(render::Box{std::max(0, right - 1300), 0, right, 800}, view.data(), 1300);
        tiles = raster.tilesMade();
        benchmark::DoNotOptimize(view.data());
    }
    state.counters["tiles"] = static_cast<double>(tiles);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_WindowOpen(benchmark::State& state) {
    window(state, false);
}
BENCHMARK(BM_WindowOpen)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_WindowFit(benchmark::State& state) {
    window(state, true);
}
BENCHMARK(BM_WindowFit)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const platform::OffscreenApplication app;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
