// FORM5, "当事者の個別データ設定": the person form.
#pragma once

#include "forms/tsubaki/form_window.h"

#include <memory>

namespace Ui {
class FORM5;
}

namespace forms {

class Form5 : public FormWindow {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);
    ~Form5() override;

    // The controls, by their names.
    Ui::FORM5& ui() const { return *ui_; }

    // 氏名位置: places the surname field EDIT_A1A first and the given-name field EDIT_A2A
    // second for name order 0 (labels "姓", "名"), the other way round for name order 1.
    void arrangeNameFields(int nameOrder);

private:
    std::unique_ptr<Ui::FORM5> ui_;
};

} // namespace forms
