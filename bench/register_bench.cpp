// Reading and writing all registers of a 10,000-person data folder.
#include "register_generator.h"

#include "core/constants.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdlib.h>

namespace {

std::filesystem::path folder() {
    static const std::filesystem::path dir = [] {
        char tmpl[] = "/tmp/tsubaki-bench-XXXXXX";
        std::filesystem::path d = mkdtemp(tmpl);
        bench::GeneratorOptions o;
        o.persons = 10000;
        bench::writeGeneratedFolder(d, o);
        return d;
    }();
    return dir;
}

void BM_ReadAllRegisters(benchmark::State& state) {
    const auto dir = folder();
    const auto env = core::readEnvironment(dir / core::kEnvironmentFile);
    int families = 0;
    for (auto _ : state) {
        auto data = core::DataFolder::load(dir, env, [] { return true; });
        families = data.reg.familyCount();
        benchmark::DoNotOptimize(data);
    }
    state.counters["families"] = families;
}
BENCHMARK(BM_ReadAllRegisters)->Unit(benchmark::kMillisecond);

void BM_WriteAllRegisters(benchmark::State& state) {
    const auto dir = folder();
    const auto env = core::readEnvironment(dir / core::kEnvironmentFile);
    const auto data = core::DataFolder::load(dir, env, [] { return true; });
    for (auto _ : state) {
        data.savePersons();
        data.saveFamilies();
        data.saveSettings();
    }
    state.counters["persons"] = data.reg.personCount();
}
BENCHMARK(BM_WriteAllRegisters)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
