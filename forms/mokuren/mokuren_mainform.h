// MAINFORM of mokuren: the choice of job (RADIO1 to RADIO4 for CSV and masking, RADIO5 and
// RADIO6 for GEDCOM), the GEDCOM version of an export (COMBO1, enabled with RADIO5), the
// header-line box CHECK1 and "実　行".
#pragma once

#include "converter/gedcom_export.h"

#include <QWidget>

#include <memory>

namespace Ui {
class MokurenMainForm;
}

namespace mokuren {

enum class Job { Export, Import, Mask, Restore, GedcomExport, GedcomImport };

class MainForm : public QWidget {
    Q_OBJECT
public:
    explicit MainForm(QWidget* parent = nullptr);
    ~MainForm() override;

    Job job() const;
    // CHECK1: the first CSV line holds column names.
    bool headerLine() const;
    // COMBO1: the version a GEDCOM export writes.
    converter::GedcomVersion gedcomVersion() const;

    Ui::MokurenMainForm& ui() const { return *ui_; }

Q_SIGNALS:
    void runRequested();   // BUTTON1
    void closeRequested(); // the window's close box: ends the program

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::MokurenMainForm> ui_;
};

} // namespace mokuren
