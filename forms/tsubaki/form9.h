// FORM9, "当事者のリンク元の設定": choosing the link source of a person.
#pragma once

#include "forms/tsubaki/form_window.h"

#include <memory>

namespace Ui {
class FORM9;
}

namespace forms {

class Form9 : public FormWindow {
    Q_OBJECT
public:
    explicit Form9(QWidget* parent = nullptr);
    ~Form9() override;

    // The controls, by their names.
    Ui::FORM9& ui() const { return *ui_; }

private:
    std::unique_ptr<Ui::FORM9> ui_;
};

} // namespace forms
