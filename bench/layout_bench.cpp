// Survey and layout of generated registers: 1,000 and 10,000 persons over ten
// generations, with the first-use drawing settings and fixed 21 × 21 cells.
#include "register_generator.h"

#include "layout/chart_layout.h"
#include "layout/chart_survey.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

const core::DataFolder& folder(int persons) {
    static std::map<int, core::DataFolder> folders;
    auto it = folders.find(persons);
    if (it == folders.end()) {
        bench::GeneratorOptions o;
        o.persons = persons;
        it = folders.emplace(persons, bench::generateRegisters(o)).first;
    }
    return it->second;
}

layout::SurveyOptions options(const core::DataFolder& data) {
    return layout::surveyOptions(data.settings, data.env, 1);
}

void BM_Survey(benchmark::State& state) {
    const core::DataFolder& data = folder(static_cast<int>(state.range(0)));
    const layout::SurveyOptions o = options(data);
    int roots = 0;
    for (auto _ : state) {
        auto outcome = layout::surveyChart(data.reg, o, {});
        if (!outcome.ok()) {
            state.SkipWithError(outcome.error->text.c_str());
            return;
        }
        roots = static_cast<int>(outcome.result->roots.size());
        benchmark::DoNotOptimize(outcome);
    }
    state.counters["families"] = data.reg.familyCount();
    state.counters["roots"] = roots;
}
BENCHMARK(BM_Survey)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SurveyAndLayout(benchmark::State& state) {
    const core::DataFolder& data = folder(static_cast<int>(state.range(0)));
    const layout::SurveyOptions o = options(data);
    const layout::BlockStyle style = layout::blockStyle(data.settings, 21, 21);
    int slots = 0;
    for (auto _ : state) {
        auto outcome = layout::surveyChart(data.reg, o, {});
        if (!outcome.ok()) {
            state.SkipWithError(outcome.error->text.c_str());
            return;
        }
        const layout::ChartLayout chart = layout::layoutChart(*outcome.result, style);
        slots = outcome.result->slotCount;
        benchmark::DoNotOptimize(chart);
    }
    state.counters["persons"] = data.reg.personCount();
    state.counters["slots"] = slots;
}
BENCHMARK(BM_SurveyAndLayout)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
