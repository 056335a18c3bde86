#include "app/tsubaki/tsubaki_app.h"

#include "app/tsubaki/chart_handlers.h"
#include "app/tsubaki/family_handlers.h"
#include "app/tsubaki/legal_handlers.h"
#include "common/file_io.h"
#include "core/constants.h"
#include "forms/tsubaki/form10.h"
#include "forms/tsubaki/form11.h"
#include "forms/tsubaki/form2.h"
#include "forms/tsubaki/form3.h"
#include "forms/tsubaki/form4.h"
#include "forms/tsubaki/form5.h"
#include "forms/tsubaki/form6.h"
#include "forms/tsubaki/form7.h"
#include "forms/tsubaki/form8.h"
#include "forms/tsubaki/form9.h"
#include "forms/tsubaki/mainform.h"
#include "platform/qt_text.h"

#include <QFont>
#include <QString>

#include <stdexcept>

using platform::toQString;

namespace app {

namespace {

// The forms are drawn in "ＭＳ 明朝", which this platform provides as IPA明朝.
void substituteFonts() {
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
}

} // namespace

TsubakiApp::TsubakiApp(common::Dialogs& dialogs) : dialogs_(dialogs) {
    substituteFonts();
    mainForm_ = std::make_unique<forms::MainForm>();
    form2_ = std::make_unique<forms::Form2>();
    form3_ = std::make_unique<forms::Form3>();
    form4_ = std::make_unique<forms::Form4>();
    form5_ = std::make_unique<forms::Form5>();
    form6_ = std::make_unique<forms::Form6>();
    form7_ = std::make_unique<forms::Form7>();
    form8_ = std::make_unique<forms::Form8>();
    form9_ = std::make_unique<forms::Form9>();
    form10_ = std::make_unique<forms::Form10>();
    form11_ = std::make_unique<forms::Form11>();
    familyEditing_ = std::make_unique<FamilyEditing>(*this);
    charts_ = std::make_unique<Charts>(*this);
    legalCharts_ = std::make_unique<LegalCharts>(*this);
    // Every form but the chart window opens centred on the main window.
    for (QWidget* form : allForms()) {
        if (auto* window = qobject_cast<forms::FormWindow*>(form);
            window && form != mainForm_.get()) {
            window->setPlacementAnchor(mainForm_.get());
        }
    }
    // The family details open beside the family list, which stays in view.
    form6_->setOpensBeside(*form2_);
    setCaptions();
    connectFormEvents();
    connectCloseActions();
    buildEventTable(*this);
}

TsubakiApp::~TsubakiApp() = default;

std::vector<QWidget*> TsubakiApp::allForms() const {
    return {mainForm_.get(), form2_.get(), form3_.get(), form4_.get(),  form5_.get(), form6_.get(),
            form7_.get(),    form8_.get(), form9_.get(), form10_.get(), form11_.get()};
}

void TsubakiApp::setCaptions() {
    const std::pair<QWidget*, const char*> captions[] = {
        {mainForm_.get(), "当事者目録の設定"},
        {form2_.get(), "家族関連の設定"},
        {form3_.get(), "系図の表示"},
        {form4_.get(), "系図表示設定"},
        {form5_.get(), "当事者の個別データ設定"},
        {form6_.get(), "家族の詳細設定"},
        {form7_.get(), "当事者データの複写"},
        {form9_.get(), "当事者のリンク元の設定"},
        {form10_.get(), "相続人設定"},
        {form11_.get(), "申出人と作成者の設定"},
    };
    for (const auto& [form, caption] : captions) {
        form->setWindowTitle(toQString(caption) + toQString(core::title_text));
    }
    form8_->setWindowTitle(QStringLiteral("相続関係説明図のオプション設定"));
}

void TsubakiApp::dispatch(EventCode code) {
    if (dispatching_ || ended_) {
        return;
    }
    dispatching_ = true;
    mainForm_->showGuidance("");
    form5_->showGuidance("");
    history_.begin(data_.reg, code);
    try {
        runHandler(code);
    } catch (const common::FileError& e) {
        common::STOP_SUB(dialogs_, "ファイルのエラー", e.what());
    } catch (const std::exception& e) {
        unexpectedErrors_.push_back(e.what());
        dialogs_.ok("エラー", std::string("処理を続けられませんでした。\n") + e.what(),
                    common::Icon::Stop);
    }
    history_.end(data_.reg, persons_.session.has_value());
    dispatching_ = false;
    showHistory();
}

TsubakiApp::Entry* TsubakiApp::entry(EventCode code) {
    const int index = static_cast<int>(code);
    if (index < 1 || index > editing::kLastEventCode) {
        return nullptr;
    }
    return &handlers_[static_cast<std::size_t>(index)];
}

const TsubakiApp::Entry* TsubakiApp::entry(EventCode code) const {
    return const_cast<TsubakiApp*>(this)->entry(code);
}

void TsubakiApp::runHandler(EventCode code) {
    if (const Entry* e = entry(code); e != nullptr && e->handler) {
        e->handler();
    }
}

void TsubakiApp::fillHandler(EventCode code, std::string_view module,
                             std::function<void()> handler) {
    Entry* e = entry(code);
    if (e == nullptr) {
        throw std::logic_error("event code " + std::to_string(static_cast<int>(code)) +
                               " is outside the event table");
    }
    if (!e->module.empty()) {
        throw std::logic_error("event code " + std::to_string(static_cast<int>(code)) +
                               " of module \"" + std::string(module) +
                               "\" is filled already by \"" + std::string(e->module) + "\"");
    }
    *e = {std::move(handler), module};
}

bool TsubakiApp::hasHandler(EventCode code) const {
    const Entry* e = entry(code);
    return e != nullptr && static_cast<bool>(e->handler);
}

std::string_view TsubakiApp::handlerModule(EventCode code) const {
    const Entry* e = entry(code);
    return e != nullptr ? e->module : std::string_view();
}

void TsubakiApp::setCloseAction(QWidget* form, std::function<void()> action) {
    closeActions_[form] = std::move(action);
}

bool TsubakiApp::save(const std::function<void()>& writer) {
    try {
        writer();
        return true;
    } catch (const common::FileError& e) {
        common::STOP_SUB(dialogs_, "保存できません", e.what());
        return false;
    }
}

void TsubakiApp::ensureVisibleWindow() {
    if (ended_) {
        return;
    }
    for (QWidget* form : allForms()) {
        if (form->isVisible()) {
            return;
        }
    }
    mainForm_->setEnabled(true);
    mainForm_->show();
    mainForm_->activateWindow();
}

void TsubakiApp::end(int code) {
    for (QWidget* form : allForms()) {
        form->hide();
    }
    ended_ = true;
    exitCode_ = code;
    if (endHandler_) {
        endHandler_(code);
    }
}

bool TsubakiApp::fail(const std::string& title, const std::string& text, int code) {
    common::STOP_SUB(dialogs_, title, text);
    end(code);
    return false;
}

} // namespace app
