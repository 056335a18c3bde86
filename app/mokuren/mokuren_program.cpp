#include "app/mokuren/mokuren_program.h"

#include "common/file_io.h"
#include "converter/gedcom_export.h"
#include "converter/gedcom_import.h"
#include "converter/job.h"
#include "converter/masking.h"

#include <map>

namespace mokuren {

Program::Program(common::Dialogs& dialogs, std::function<void()> quit,
                 std::filesystem::path startFolder)
    : dialogs_(dialogs), quit_(std::move(quit)), seed_(converter::clockSeed),
      folder_(std::move(startFolder)), environmentFile_(folder_ / "KANKYO.TXT"),
      main_(std::make_unique<MainForm>()), export_(std::make_unique<ExportForm>()),
      import_(std::make_unique<ImportForm>(dialogs)) {
    auto code = [this](EventCode c) { return [this, c] { dispatch(c); }; };
    connect(main_.get(), &MainForm::runRequested, this, code(EventCode::Run));
    connect(main_.get(), &MainForm::closeRequested, this, [this] { end(); });
    connect(export_.get(), &ExportForm::exportRequested, this, code(EventCode::Export));
    connect(export_.get(), &ExportForm::cancelRequested, this, code(EventCode::CancelExport));
    connect(import_.get(), &ImportForm::chartRequested, this, code(EventCode::Chart));
    connect(import_.get(), &ImportForm::assignRequested, this, code(EventCode::Assign));
    connect(import_.get(), &ImportForm::releaseRequested, this, code(EventCode::Release));
    connect(import_.get(), &ImportForm::importRequested, this, code(EventCode::Import));
    connect(import_.get(), &ImportForm::cancelRequested, this, code(EventCode::CancelImport));
}

Program::~Program() = default;

void Program::start() {
    main_->show();
}

void Program::dispatch(EventCode code) {
    static const std::map<EventCode, void (Program::*)()> handlers = {
        {EventCode::Run, &Program::run},          {EventCode::Export, &Program::runExport},
        {EventCode::CancelExport, &Program::end}, {EventCode::Chart, &Program::chart},
        {EventCode::Assign, &Program::assign},    {EventCode::Release, &Program::release},
        {EventCode::Import, &Program::runImport}, {EventCode::CancelImport, &Program::end},
    };
    const auto it = handlers.find(code);
    if (it != handlers.end()) {
        (this->*(it->second))();
    }
}

void Program::end() {
    main_->hide();
    export_->hide();
    import_->hide();
    quit_();
}

void Program::run() {
    main_->hide();
    switch (main_->job()) {
    case Job::Export:
        startExport();
        break;
    case Job::Import:
        startImport();
        break;
    case Job::Mask:
        mask();
        break;
    case Job::Restore:
        restore();
        break;
    case Job::GedcomExport:
        gedcomExport();
        break;
    case Job::GedcomImport:
        gedcomImport();
        break;
    }
}

void Program::startExport() {
    const auto folder = converter::chooseDataFolder(dialogs_, "当事者目録を読み込みます", folder_);
    if (!folder) {
        end();
        return;
    }
    try {
        register_ = converter::readPersonRegister(*folder);
    } catch (const common::FileError& e) {
        dialogs_.ok(converter::kReadErrorTitle, e.what(), common::Icon::Stop);
        main_->show(); // another file can be chosen
        return;
    }
    folder_ = *folder;
    export_->load(register_);
    export_->show();
}

void Program::runExport() {
    std::string error;
    const auto options = export_->options(main_->headerLine(), error);
    if (!options) {
        dialogs_.ok("文字数制限", error, common::Icon::Exclamation);
        return;
    }
    export_->hide();
    if (converter::exportCsv(register_, folder_, *options, dialogs_) ==
        converter::JobOutcome::Stopped) {
        export_->show(); // the file could not be written: the options stay for another try
        return;
    }
    end();
}

void Program::startImport() {
    import_->prepare();
    import_->setEnabled(false);
    import_->show();
    const auto file = dialogs_.openFile("データファイルの読み込み", (folder_ / "").string(),
                                        "ﾃｷｽﾄ形式(*.TXT *.CSV)");
    if (!file) {
        end();
        return;
    }
    converter::CsvTable table;
    try {
        table = converter::readCsvFile(*file);
    } catch (const common::FileError& e) {
        dialogs_.ok(converter::kImportErrorTitle, e.what(), common::Icon::Stop);
        import_->hide();
        main_->show();
        return;
    }
    if (table.rows.empty()) {
        dialogs_.ok(converter::kImportErrorTitle,
                    "「" + common::displayName(*file) + "」にはデータがありません",
                    common::Icon::Stop);
        import_->hide();
        main_->show();
        return;
    }
    const auto folder = std::filesystem::path(*file).parent_path();
    folder_ = folder.empty() ? std::filesystem::path(".") : folder;
    import_->setTable(std::move(table));
    import_->setEnabled(true);
}

void Program::chart() {
    import_->buildChart();
}

void Program::assign() {
    import_->assignSelected();
}

void Program::release() {
    import_->releaseSelected();
}

void Program::runImport() {
    import_->hide();
    converter::ImportResult result;
    try {
        result =
            converter::importPersons(import_->table(), import_->chart(), import_->order(),
                                     import_->choices(), main_->headerLine(), import_->surnames());
    } catch (const common::FileError& e) {
        dialogs_.ok(converter::kImportErrorTitle, e.what(), common::Icon::Stop);
        import_->show(); // the settings stay for a correction
        return;
    }
    if (converter::writeImportedRegister(result, folder_, dialogs_) ==
        converter::JobOutcome::Stopped) {
        import_->show();
        return;
    }
    end();
}

void Program::mask() {
    const auto folder = converter::chooseDataFolder(dialogs_, "当事者目録を読み込みます", folder_);
    if (folder) {
        converter::NameDrawer drawer(seed_());
        converter::maskFolder(*folder, dialogs_, drawer);
    }
    end();
}

void Program::restore() {
    const auto folder =
        converter::chooseDataFolder(dialogs_, "元に戻す当事者目録を読み込みます", folder_);
    if (folder) {
        converter::restoreFolder(*folder, dialogs_);
    }
    end();
}

void Program::gedcomExport() {
    const auto folder = converter::chooseDataFolder(dialogs_, "当事者目録を読み込みます", folder_);
    if (!folder) {
        end();
        return;
    }
    folder_ = *folder;
    if (converter::exportGedcom(*folder, main_->gedcomVersion(), dialogs_) ==
        converter::JobOutcome::Stopped) {
        main_->show(); // the register could not be read or the file written: another try
        return;
    }
    end();
}

void Program::gedcomImport() {
    const auto file = dialogs_.openFile("GEDCOMファイルの読み込み", (folder_ / "").string(),
                                        "GEDCOM(*.ged *.GED)");
    if (!file) {
        end();
        return;
    }
    const auto folder = std::filesystem::path(*file).parent_path();
    folder_ = folder.empty() ? std::filesystem::path(".") : folder;
    const auto imported = converter::readGedcomImport(*file, dialogs_);
    if (!imported) {
        main_->show(); // the errors were shown: another file can be chosen
        return;
    }
    if (converter::writeGedcomImport(*imported, folder_, environmentFile_, dialogs_) ==
        converter::JobOutcome::Stopped) {
        main_->show();
        return;
    }
    end();
}

} // namespace mokuren
