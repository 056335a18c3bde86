// mokuren's jobs on a 100,000-person register: masking a data folder and exporting the
// register as CSV, each from reading the files to writing the result. The command-line
// runs (`mokuren mask`, `mokuren export`) in a fresh process pay the first touch of every
// page of their buffers, which repeated iterations here partly reuse; time them too.
//
// The chart editor's person numbers are 16-bit, so the synthetic generator cannot make
// 100,000 persons. mokuren keeps numbers as read (32-bit), so the register is made here: a
// generated 10,000-person register repeated ten times, the references of each copy moved
// by its offset, written with mokuren's own register writer.
#include "register_generator.h"

#include "common/dialogs.h"
#include "common/file_io.h"
#include "common/line_forms.h"
#include "converter/csv_export.h"
#include "converter/files.h"
#include "converter/masking.h"
#include "converter/person_register.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <stdlib.h>

namespace fs = std::filesystem;

namespace {

constexpr int kGenerated = 10000;
constexpr int kCopies = 10;

// Any box is a failure here: the jobs run on a good folder.
class NoDialogs : public common::Dialogs {
public:
    common::Answer message(std::string_view title, std::string_view text, common::Buttons,
                           common::Icon) override {
        throw std::runtime_error(std::string(title) + ": " + std::string(text));
    }
    std::optional<std::string> input(std::string_view, std::string_view,
                                     std::string_view) override {
        throw std::runtime_error("input");
    }
    std::optional<std::string> openFile(std::string_view, std::string_view,
                                        std::string_view) override {
        throw std::runtime_error("openFile");
    }
    std::optional<std::string> saveFile(std::string_view, std::string_view, std::string_view,
                                        std::string_view, bool) override {
        throw std::runtime_error("saveFile");
    }
};

converter::当事者 copyOf(const core::当事者& s, long offset) {
    auto moved = [&](long n) { return n == 0 ? 0 : n + offset; };
    converter::当事者 p;
    p.当事者NO = moved(s.当事者NO);
    p.実父NO = moved(s.実父NO);
    p.実母NO = moved(s.実母NO);
    p.父母家族NO = s.父母家族NO;
    p.子孫_F = s.子孫_F;
    p.男女 = s.男女;
    p.姓 = s.姓;
    p.名 = s.名;
    p.住所1 = s.住所1;
    p.住所2 = s.住所2;
    p.本籍1 = s.本籍1;
    p.本籍2 = s.本籍2;
    p.生年月日 = s.生年月日;
    p.死亡年月日 = s.死亡年月日;
    p.備考1 = s.備考1;
    p.備考2 = s.備考2;
    p.C_当事者NO = moved(s.C_当事者NO);
    p.子孫_FL = s.子孫_FL;
    p.当姓 = s.当姓;
    p.姓名順 = s.姓名順;
    return p;
}

// The data folder, removed when the program ends.
struct BenchFolder {
    fs::path path;
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

fs::path folder() {
    static const BenchFolder dir{[] {
        char tmpl[] = "/tmp/mokuren-bench-XXXXXX";
        fs::path d = mkdtemp(tmpl);
        bench::GeneratorOptions o;
        o.persons = kGenerated;
        const auto data = bench::writeGeneratedFolder(d, o); // settings and families too
        std::vector<converter::当事者> persons;
        for (int c = 0; c < kCopies; ++c) {
            for (const auto& s : data.reg.persons) {
                persons.push_back(copyOf(s, static_cast<long>(c) * data.reg.personCount()));
            }
        }
        std::string order;
        for (std::size_t i = 0; i < persons.size(); ++i) {
            order += "当事者NO%(" + std::to_string(i + 1) + ")=," +
                     common::formatInteger(persons[i].姓名順) + "\r\n";
        }
        const auto reg = converter::currentRegister(std::move(persons));
        common::replaceFile(d / converter::kPersonFile, converter::personRegisterBytes(reg));
        common::replaceFile(d / converter::kNameOrderFile, order); // ASCII only
        return d;
    }()};
    return dir.path;
}

void BM_ReadRegister(benchmark::State& state) {
    const auto dir = folder();
    int count = 0;
    for (auto _ : state) {
        const auto reg = converter::readPersonRegister(dir);
        count = reg.count();
        benchmark::DoNotOptimize(reg);
    }
    state.counters["persons"] = count;
}
BENCHMARK(BM_ReadRegister)->Unit(benchmark::kMillisecond);

// The masking of the register in memory and the bytes of the masked register.
void BM_MaskRegisterBytes(benchmark::State& state) {
    const auto reg = converter::readPersonRegister(folder());
    for (auto _ : state) {
        converter::NameDrawer drawer(1234u);
        converter::Masker masker(drawer);
        const std::string bytes = converter::personRegisterBytes(masker.mask(reg));
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_MaskRegisterBytes)->Unit(benchmark::kMillisecond);

// The whole masking job: reading, masking, writing the masked register and settings, moving
// the originals aside. The folder is restored between iterations (not timed).
void BM_MaskFolder(benchmark::State& state) {
    const auto dir = folder();
    NoDialogs dialogs;
    converter::NameDrawer drawer(1234u);
    for (auto _ : state) {
        if (converter::maskFolder(dir, dialogs, drawer) != converter::JobOutcome::Done) {
            state.SkipWithError("masking failed");
            break;
        }
        state.PauseTiming();
        converter::restoreFolder(dir, dialogs);
        state.ResumeTiming();
    }
    state.counters["persons"] = kGenerated * kCopies;
}
BENCHMARK(BM_MaskFolder)->Unit(benchmark::kMillisecond);

// The whole export job as the command line runs it: the register read record by record and
// the CSV file written (every column separate, header line, sex as 男・女).
void BM_ExportCsv(benchmark::State& state) {
    const auto dir = folder();
    converter::ExportOptions o;
    o.header = true;
    for (auto _ : state) {
        common::replaceFile(dir / converter::kExportFile, converter::csvBytesOfFolder(dir, o));
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(dir / converter::kExportFile));
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);

// The export form's part: the register was read when the form opened; the CSV file is
// built and written.
void BM_ExportHeldRegister(benchmark::State& state) {
    const auto dir = folder();
    const auto reg = converter::readPersonRegister(dir);
    converter::ExportOptions o;
    o.header = true;
    for (auto _ : state) {
        converter::writeCsv(reg, o, dir / converter::kExportFile);
    }
}
BENCHMARK(BM_ExportHeldRegister)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
