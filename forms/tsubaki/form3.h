// FORM3, "系図の表示": the chart view with its picture area, scroll bars, corner button, the
// menu entries "タスクバーへ" (MINI), "ＢＭＰファイル化" (BMP_F), "PDF保存" (PDF_F), "印刷" (PRINT)
// and "用紙設定" (PAGE_SETUP), and the tool bar ZOOMBAR
// ("縮小" ZOOM_OUT, "拡大" ZOOM_IN, "100%" ZOOM_100, "全体表示" FIT_ALL, "幅に合わせる"
// FIT_WIDTH; the chart window adds the zoom and the person search to it).
#pragma once

#include "forms/tsubaki/form_window.h"

#include <memory>

namespace Ui {
class FORM3;
}

namespace forms {

class Form3 : public MainFormWindow {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);
    ~Form3() override;

    // The controls, by their names.
    Ui::FORM3& ui() const { return *ui_; }

private:
    std::unique_ptr<Ui::FORM3> ui_;
};

} // namespace forms
