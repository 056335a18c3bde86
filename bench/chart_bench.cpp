// The whole chart run on generated registers (ten generations): survey, layout, the drawing
// (blocks typeset on Qt canvases with the chart font, the chart itself in the one-byte BMP
// layout of platform::ChartImage) up to the bytes of the 8-bit "図面.BMP", at 100 and 1,000
// persons; and the text drawing ("テキスト化") of 1,000 persons up to the bytes of
// "図面.TXT". First-use settings (vertical writing, kanji numerals) with the name, birth
// and death date fields shown; the horizontal variant for comparison. "FirstInProgram"
// gives the chart fresh memory every time (the first drawing of a program; the system's
// page faulting of a few hundred megabytes); the others reuse the memory of the chart
// before, as every later drawing does. Writing the file to disk is not included. Runs off
// screen: build/bench/chart_bench
#include "register_generator.h"

// Before any Qt header: the layout names a member "slots".
#include "render/chart_run.h"

#include "platform/chart_image.h"
#include "platform/offscreen_app.h"
#include "platform/qt_canvas.h"

#include <benchmark/benchmark.h>

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
    r.pixels = !textMode;
    r.answer = [](const layout::CentreQuestion&) { return std::optional<bool>(true); };
    return r;
}

// `cold`: without the memory kept from the chart before, as the first drawing of a program.
void chartToBmp(benchmark::State& state, bool vertical, bool cold = false) {
    core::DataFolder data = folder(static_cast<int>(state.range(0)));
    data.settings.縦書き = vertical;
    data.settings.横書き = !vertical;
    platform::QtCanvasFactory factory;
    platform::ChartImageFactory charts;
    render::ChartRequest r = request(false);
    r.chartFactory = &charts;
    std::size_t bytes = 0;
    int width = 0;
    int height = 0;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            platform::ChartImage::releaseKeptMemory();
            state.ResumeTiming();
        }
        render::ChartOutcome outcome =
            render::runChart(data.reg, data.settings, data.env, r, factory);
        if (!outcome.ok()) {
            state.SkipWithError(outcome.failure->text.c_str());
            return;
        }
        const auto& chart = dynamic_cast<const platform::ChartImage&>(*outcome.drawing->chart);
        const std::string_view bmp = chart.bmpBytes();
        bytes = bmp.size();
        width = outcome.drawing->width;
        height = outcome.drawing->height;
        benchmark::DoNotOptimize(bmp.data());
    }
    state.counters["persons"] = data.reg.personCount();
    state.counters["width"] = width;
    state.counters["height"] = height;
    state.counters["bmp_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_ChartToBmp(benchmark::State& state) {
    chartToBmp(state, true);
}
BENCHMARK(BM_ChartToBmp)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ChartToBmpFirstInProgram(benchmark::State& state) {
    chartToBmp(state, true, true);
}
BENCHMARK(BM_ChartToBmpFirstInProgram)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ChartToBmpHorizontal(benchmark::State& state) {
    chartToBmp(state, false);
}
BENCHMARK(BM_ChartToBmpHorizontal)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_TextDrawing(benchmark::State& state) {
    const core::DataFolder& data = folder(static_cast<int>(state.range(0)));
    platform::QtCanvasFactory factory;
    std::size_t bytes = 0;
    int rows = 0;
    for (auto _ : state) {
        render::ChartOutcome outcome =
            render::runChart(data.reg, data.settings, data.env, request(true), factory);
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
