// FORM3 of mokuren, "CSVデータの当事者目録データ化設定": what the CSV file holds, the
// registered surnames, the registration chart and the assignment of columns to it.
#pragma once

#include "common/dialogs.h"
#include "converter/csv_import.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace Ui {
class MokurenImportForm;
}

namespace mokuren {

class ImportForm : public QWidget {
    Q_OBJECT
public:
    // `dialogs` shows the message about a surname that cannot be registered.
    explicit ImportForm(common::Dialogs& dialogs, QWidget* parent = nullptr);
    ~ImportForm() override;

    // Fresh state for a new file: the notations with "男・女" selected, no chart, no
    // assignment; the assignment and import buttons wait for "チャート実行".
    void prepare();
    // The file's cells; every column starts free.
    void setTable(converter::CsvTable table);

    // "チャート実行": the chart from the check boxes, its text in Edit3; enables the
    // assignment and import buttons.
    void buildChart();
    // BUTTON7: the selected free columns, top to bottom, join the assignment order.
    void assignSelected();
    // BUTTON8: the selected assignments are taken back.
    void releaseSelected();

    converter::ImportChoices choices() const;
    // The items of COMBO1, in list order.
    std::vector<std::string> surnames() const;
    const converter::CsvTable& table() const { return table_; }
    const converter::RegistrationChart& chart() const { return chart_; }
    const std::vector<int>& order() const { return assignment_.order(); }

    Ui::MokurenImportForm& ui() const { return *ui_; }

Q_SIGNALS:
    void chartRequested();   // BUTTON6
    void assignRequested();  // BUTTON7
    void releaseRequested(); // BUTTON8
    void importRequested();  // BUTTON9
    void cancelRequested();  // BUTTON10 or the close box: ends the program

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void registerSurname(); // BUTTON4
    void removeSurname();   // BUTTON5
    void choicesChanged();  // any of CHECK3 to CHECK12
    void updateEnabling();
    void refillLists();

    std::unique_ptr<Ui::MokurenImportForm> ui_;
    common::Dialogs& dialogs_;
    converter::CsvTable table_;
    converter::ColumnAssignment assignment_;
    converter::RegistrationChart chart_;
    bool chartReady_ = false;
};

} // namespace mokuren
