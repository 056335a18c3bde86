// FORM2 of mokuren, "当事者目録データのＣＳＶ変換設定": the options of the CSV export.
#pragma once

#include "converter/csv_export.h"
#include "converter/person_register.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>

namespace Ui {
class MokurenExportForm;
}

namespace mokuren {

class ExportForm : public QWidget {
    Q_OBJECT
public:
    explicit ExportForm(QWidget* parent = nullptr);
    ~ExportForm() override;

    // Sets the form up for `reg`: the sex notations with "男・女" selected; for an old
    // register the limit fields with the largest character counts, for a current one the
    // boxes that join two address or domicile lines.
    void load(const converter::PersonRegister& reg);

    // The options as set (with `headerLine` from the main form); nullopt with a message in
    // `error` when a limit is not a whole number of 0 or more.
    std::optional<converter::ExportOptions> options(bool headerLine, std::string& error) const;

    Ui::MokurenExportForm& ui() const { return *ui_; }

Q_SIGNALS:
    void exportRequested(); // BUTTON2
    void cancelRequested(); // BUTTON3 or the close box: ends the program

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::MokurenExportForm> ui_;
    bool current_ = true;
};

} // namespace mokuren
