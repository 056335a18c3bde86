// mokuren's forms and jobs: the main form starts a job, the job reads its files through the
// dialogs, shows its settings form when it has one, and the program ends when the job is
// done or cancelled.
//
// Control events reach the program as event codes through dispatch(): "実　行" (1) runs the
// chosen job; "変　換　実　行" (2) exports; "チャート実行" (6), the two assignment buttons
// (7, 8) and "変換実行" (9) drive the import; "キャンセル" of either settings form (3, 10)
// and closing any form end the program. The two GEDCOM jobs have no settings form: the
// export asks for the register and the file to write, the import for the GEDCOM file and
// the folder to write into.
#pragma once

#include "common/dialogs.h"
#include "converter/person_register.h"
#include "forms/mokuren/mokuren_export_form.h"
#include "forms/mokuren/mokuren_import_form.h"
#include "forms/mokuren/mokuren_mainform.h"

#include <QObject>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

namespace mokuren {

enum class EventCode {
    Run = 1,          // BUTTON1
    Export = 2,       // BUTTON2
    CancelExport = 3, // BUTTON3
    Chart = 6,        // BUTTON6
    Assign = 7,       // BUTTON7
    Release = 8,      // BUTTON8
    Import = 9,       // BUTTON9
    CancelImport = 10 // BUTTON10
};

class Program : public QObject {
    Q_OBJECT
public:
    // `quit` ends the program; `startFolder` is where the first file dialog starts.
    Program(common::Dialogs& dialogs, std::function<void()> quit,
            std::filesystem::path startFolder);
    ~Program() override;

    // Shows the main form.
    void start();
    void dispatch(EventCode code);

    // The seed of the masking's name draws (the clock by default).
    void setSeedSource(std::function<std::uint32_t()> seed) { seed_ = std::move(seed); }

    MainForm& mainForm() const { return *main_; }
    ExportForm& exportForm() const { return *export_; }
    ImportForm& importForm() const { return *import_; }

private:
    void run();
    void runExport();
    void runImport();
    void startExport();
    void startImport();
    void mask();
    void restore();
    void gedcomExport();
    void gedcomImport();
    void chart();
    void assign();
    void release();
    void end();

    common::Dialogs& dialogs_;
    std::function<void()> quit_;
    std::function<std::uint32_t()> seed_;
    std::filesystem::path folder_;
    // "KANKYO.TXT" of the folder the program started in, whose capacities a GEDCOM import
    // keeps (else the one in the folder written into).
    std::filesystem::path environmentFile_;
    converter::PersonRegister register_;
    std::unique_ptr<MainForm> main_;
    std::unique_ptr<ExportForm> export_;
    std::unique_ptr<ImportForm> import_;
};

} // namespace mokuren
