#include "forms/tsubaki/mainform.h"

#include "ui_mainform.h"

namespace forms {

MainForm::MainForm(QWidget* parent) : FormWindow(parent), ui_(std::make_unique<Ui::MAINFORM>()) {
    ui_->setupUi(this);
}

MainForm::~MainForm() = default;

} // namespace forms
