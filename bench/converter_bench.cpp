// mokuren's jobs on a 100,000-person register: masking a data folder, exporting the register
// as CSV, and GEDCOM export and import of the whole folder (persons and families), each from
// reading the files to writing the result. The command-line
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
#include "common/folder_transaction.h"
#include "common/line_forms.h"
#include "converter/csv_export.h"
#include "converter/files.h"
#include "converter/gedcom_export.h"
#include "converter/gedcom_import.h"
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

converter::家族 copyOf(const core::家族& s, long offset, long familyOffset) {
    auto moved = [&](long n) { return n == 0 ? 0 : n + offset; };
    converter::家族 f;
    f.夫婦確定_f = s.夫婦確定_f;
    f.婚姻NO = s.婚姻NO + familyOffset;
    f.形態 = core::fileValue(s.形態);
    f.形態L3 = core::fileValue(s.形態L3);
    f.夫NO = moved(s.夫NO);
    f.妻NO = moved(s.妻NO);
    f.夫肩書 = s.夫肩書;
    f.妻肩書 = s.妻肩書;
    f.配偶者非表示_F = s.配偶者非表示_F;
    f.配偶者姓F = s.配偶者姓F;
    f.系統_F = core::fileValue(s.系統_F);
    f.離婚_F = s.離婚_F;
    f.離婚年月日 = s.離婚年月日;
    for (const auto& c : s.子) {
        f.子.push_back(
            {moved(c.子NO), c.子の肩書, core::fileValue(c.子の形態), c.縁組日, c.認知日});
    }
    return f;
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

// A folder of 100,000 persons with their families (the generated 10,000 ten times, every
// person and family reference moved by its copy's offset), written with mokuren's writers.
fs::path familyFolder() {
    static const BenchFolder dir{[] {
        char tmpl[] = "/tmp/mokuren-gedcom-bench-XXXXXX";
        fs::path d = mkdtemp(tmpl);
        bench::GeneratorOptions o;
        o.persons = kGenerated;
        const auto data = bench::generateRegisters(o);
        converter::GedcomSource s;
        const long persons = data.reg.personCount();
        const long families = data.reg.familyCount();
        for (int c = 0; c < kCopies; ++c) {
            for (const auto& p : data.reg.persons) {
                auto q = copyOf(p, c * persons);
                auto family = [&](long n) { return n == 0 ? 0 : n + c * families; };
                q.父母家族NO = family(q.父母家族NO);
                q.子孫_F = family(q.子孫_F);
                q.子孫_FL = family(q.子孫_FL);
                s.persons.persons.push_back(std::move(q));
            }
            for (const auto& f : data.reg.families) {
                s.families.push_back(copyOf(f, c * persons, c * families));
            }
        }
        s.persons = converter::currentRegister(std::move(s.persons.persons));
        s.founders.assign(s.persons.persons.size(), 0);
        const auto files = converter::registerFiles(s);
        common::FolderTransaction change(d);
        change.write(converter::kPersonFile, files.persons);
        change.write(converter::kFounderFile, files.founders);
        change.write(converter::kNameOrderFile, files.nameOrder);
        change.write(converter::kFamilyFile, files.families);
        change.commit();
        fs::create_directories(d / "imported");
        return d;
    }()};
    return dir.path;
}

// The GEDCOM export as `mokuren gedcom-export` runs it: the registers read, the text built
// and written through the atomic replace.
void BM_GedcomExport(benchmark::State& state) {
    const auto dir = familyFolder();
    const auto version =
        state.range(0) == 0 ? converter::GedcomVersion::V551 : converter::GedcomVersion::V70;
    for (auto _ : state) {
        const auto source = converter::readGedcomSource(dir);
        common::replaceFile(dir / "family.ged", converter::gedcomText(source, version));
    }
    state.counters["persons"] = kGenerated * kCopies;
    state.counters["bytes"] = static_cast<double>(fs::file_size(dir / "family.ged"));
}
BENCHMARK(BM_GedcomExport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The GEDCOM import: the file read and decoded, the registers built and checked, their four
// files written in one folder transaction. Argument 0: mokuren's 5.5.1, 1: its 7.0, 2: the
// 5.5.1 file as if another program had written it (dates read from the GEDCOM dates, parents
// and titles worked out). (The job itself refuses more than 32,767 persons, the chart
// editor's limit; the work is timed here on 100,000 all the same.)
void BM_GedcomImport(benchmark::State& state) {
    const auto dir = familyFolder();
    const auto version =
        state.range(0) == 1 ? converter::GedcomVersion::V70 : converter::GedcomVersion::V551;
    std::string text = converter::gedcomText(converter::readGedcomSource(dir), version);
    const bool ours = state.range(0) != 2;
    if (!ours) {
        text.replace(text.find("1 SOUR MOKUREN"), 14, "1 SOUR ELSEWHERE");
    }
    common::replaceFile(dir / "family.ged", text);
    long persons = 0;
    for (auto _ : state) {
        const auto imported =
            converter::importGedcom(common::readFile(dir / "family.ged"), "family.ged");
        if (!imported.report.errors.empty() || (ours && !imported.report.notices.empty())) {
            state.SkipWithError("the file did not import cleanly");
            break;
        }
        auto files = converter::registerFiles(imported.registers);
        common::FolderTransaction change(dir / "imported");
        change.write(converter::kPersonFile, std::move(files.persons));
        change.write(converter::kFounderFile, std::move(files.founders));
        change.write(converter::kNameOrderFile, std::move(files.nameOrder));
        change.write(converter::kFamilyFile, std::move(files.families));
        change.commit();
        persons = imported.registers.persons.count();
    }
    state.counters["persons"] = static_cast<double>(persons);
    // The round trip holds at this size too.
    if (ours && (common::readFile(dir / "imported" / converter::kPersonFile) !=
                     common::readFile(dir / converter::kPersonFile) ||
                 common::readFile(dir / "imported" / converter::kFamilyFile) !=
                     common::readFile(dir / converter::kFamilyFile))) {
        state.SkipWithError("the imported registers differ from the exported ones");
    }
}
BENCHMARK(BM_GedcomImport)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

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
