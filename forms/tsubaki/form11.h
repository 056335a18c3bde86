// FORM11, "申出人と作成者の設定": the applicant and the author of the statutory list chart.
//
// The form owns its controls: the applicant list LIST9 and the fields of
// editing::ApplicantFields (EDIT27 to EDIT31, CHECK48). Choosing an entry of the list raises
// LIST9_CLICK, "設定完了" (BUTTON48) raises BUTTON48_ON (eventRaised). "作成者は申出人と同じ"
// (BUTTON47) copies the applicant's address and name into the author's fields at once.
#pragma once

#include "editing/event_codes.h"
#include "editing/legal_forms.h"
#include "forms/tsubaki/form_window.h"

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;

namespace Ui {
class FORM11;
}

namespace forms {

class Form11 : public FormWindow {
    Q_OBJECT
public:
    explicit Form11(QWidget* parent = nullptr);
    ~Form11() override;

    // The list's entries with `fields.applicant` chosen, and the fields; raises no event.
    void load(const std::vector<std::string>& applicants, const editing::ApplicantFields& fields);
    editing::ApplicantFields typed() const;
    // The five texts as stored, in the order of ApplicantFields.
    void showTexts(const editing::ApplicantFields& fields);
    // The applicant's address and name of a choice in the list, both cleared for nobody.
    void showApplicant(const std::optional<editing::ApplicantLines>& applicant);
    // The entry chosen in the list (0 for "このリストに申出人はいない"), -1 for none.
    int chosenApplicant() const;
    // The keyboard focus into text `field` (0-based, in the order of ApplicantFields).
    void focusText(std::size_t field);

Q_SIGNALS:
    void eventRaised(editing::EventCode code);

private:
    std::array<QLineEdit*, 5> texts() const;

    std::unique_ptr<Ui::FORM11> ui_;
};

} // namespace forms
