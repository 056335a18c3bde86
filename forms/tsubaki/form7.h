// FORM7, "当事者データの複写": choosing another person whose fields the person form copies.
//
// The form owns its controls: the person list LIST6 and one box per text field of the person
// form, each named by the record field it copies (editing::PersonTextField). Choosing a
// person raises LIST6_CLICK, "実行" (BUTTON35) raises BUTTON35_ON.
#pragma once

#include "core/registers.h"
#include "editing/event_codes.h"
#include "editing/person_form.h"
#include "forms/tsubaki/form_window.h"

#include <memory>
#include <string>
#include <vector>

namespace Ui {
class FORM7;
}

namespace forms {

class Form7 : public FormWindow {
    Q_OBJECT
public:
    explicit Form7(QWidget* parent = nullptr);
    ~Form7() override;

    // The list anew, one line per person, none chosen.
    void showPersons(const std::vector<std::string>& lines);
    // Chooses person n (1-based) without raising an event.
    void selectPerson(int n);
    // The person chosen (1-based), 0 for none.
    int selectedPerson() const;
    // The boxes' captions with the texts of `source`.
    void showSource(const core::当事者& source);
    // The fields whose boxes are ticked, in the order of the boxes.
    std::vector<editing::PersonTextField> tickedFields() const;

Q_SIGNALS:
    void eventRaised(editing::EventCode code);

private:
    std::unique_ptr<Ui::FORM7> ui_;
};

} // namespace forms
