// FORM8, "相続関係説明図のオプション設定": the options of the inheritance-relationship
// chart.
//
// The form owns its controls: it loads and gives back editing::ExplanationOptions (the
// boxes CHECK37 and CHECK38, the registry address lines EDIT23 to EDIT26). "作図実行"
// (BUTTON38) raises BUTTON38_ON (eventRaised).
#pragma once

#include "editing/event_codes.h"
#include "editing/legal_forms.h"
#include "forms/tsubaki/form_window.h"

#include <array>
#include <cstddef>
#include <memory>

class QLineEdit;

namespace Ui {
class FORM8;
}

namespace forms {

class Form8 : public FormWindow {
    Q_OBJECT
public:
    explicit Form8(QWidget* parent = nullptr);
    ~Form8() override;

    void load(const editing::ExplanationOptions& options);
    editing::ExplanationOptions typed() const;
    // The keyboard focus into address line `line` (0-based).
    void focusAddressLine(std::size_t line);

Q_SIGNALS:
    void eventRaised(editing::EventCode code);

private:
    std::array<QLineEdit*, 4> addressLines() const;

    std::unique_ptr<Ui::FORM8> ui_;
};

} // namespace forms
