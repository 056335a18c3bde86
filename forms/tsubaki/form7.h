// FORM7, "当事者データの複写": choosing another person whose fields the person form copies.
#pragma once

#include "forms/tsubaki/form_window.h"

#include <memory>

namespace Ui {
class FORM7;
}

namespace forms {

class Form7 : public FormWindow {
    Q_OBJECT
public:
    explicit Form7(QWidget* parent = nullptr);
    ~Form7() override;

    // The controls, by their names.
    Ui::FORM7& ui() const { return *ui_; }

private:
    std::unique_ptr<Ui::FORM7> ui_;
};

} // namespace forms
