// The module "charts" of the event table: FORM4 and FORM3 behind their event codes
// (chart_handlers.h).
#include "app/tsubaki/chart_handlers.h"

#include "app/tsubaki/chart_settings.h"
#include "app/tsubaki/chart_window.h"
#include "app/tsubaki/event_table.h"
#include "app/tsubaki/family_handlers.h"
#include "app/tsubaki/tsubaki_app.h"
#include "forms/tsubaki/form2.h"
#include "forms/tsubaki/form3.h"
#include "forms/tsubaki/form4.h"
#include "layout/chart_survey.h"
#include "render/chart_run.h"

#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>

#include "ui_form4.h"

#include <stdexcept>

namespace app {

namespace {

using E = EventCode;

constexpr const char* kWiringName = "chartRun";

// The state of the chart side of the program: the settings form, the chart window and the
// start of the legal chart forms. A child object of FORM4, found through it.
class ChartWiring : public QObject {
public:
    explicit ChartWiring(TsubakiApp& a)
        : QObject(&a.form4()), app_(a), form_(a.form4(), a.data()),
          window_(new ChartWindow(a.form3(), a.dialogs(), a.data().folder)) {
        setObjectName(kWiringName);
        window_->setObjectName("chartWindow");
    }

    ChartSettingsForm& form() { return form_; }
    ChartWindow& window() { return *window_; }
    std::function<void(bool)> legalChartStart;

    int baseFamily() const {
        return layout::defaultBaseFamily(app_.data().settings, app_.data().reg.familyCount());
    }

    // The centre-side question for `family` when its lineage is not set. The answer goes
    // into FORM6's lineage buttons when the family is the one FORM6 shows (through the
    // family editor, inside its operation when `insideFamilyOperation`), and into 系統_F.
    void ensureLineage(int family, bool insideFamilyOperation) {
        core::Registers& reg = app_.data().reg;
        if (family < 1 || family > reg.familyCount()) {
            return;
        }
        if (core::isChosen(reg.family(family).系統_F)) {
            return;
        }
        const layout::CentreQuestion question = layout::centreQuestion(family);
        const bool husband =
            app_.dialogs().yes(question.title, question.text, common::Icon::Question);
        const core::Lineage chosen = core::lineageThrough(husband);
        auto choose = [&](editing::FamilyEditor& editor) {
            if (editor.currentFamily() == family) {
                editor.lineOfDescentChosen(chosen);
            }
        };
        if (insideFamilyOperation) {
            choose(familyEditor(app_));
        } else {
            runFamilyOperation(app_, choose);
        }
        reg.family(family).系統_F = chosen;
    }

    void open() {
        core::DataFolder& data = app_.data();
        if (data.reg.familyCount() < 1) {
            return;
        }
        window_->setFolder(data.folder);
        form_.load(data.settings);
        runFamilyOperation(app_, [](editing::FamilyEditor& e) { e.setChartSettingsOpen(true); });
        form_.prepare();
        form_.fillHiddenFamilies(baseFamily());
        app_.form4().show();
        app_.form4().raise();
        app_.form4().activateWindow();
    }

    void releaseDirectLine() {
        core::DataFolder& data = app_.data();
        const int base = baseFamily();
        if (base == 0) {
            return;
        }
        form_.readHiddenFamilies(base);
        ensureLineage(base, false);
        const layout::SurveyOutcome outcome = layout::直系子孫の解除(
            data.reg, data.settings, data.env, base,
            [](const layout::CentreQuestion&) { return std::optional<bool>(); });
        if (!outcome.ok()) {
            common::STOP_SUB(app_.dialogs(), outcome.error->title, outcome.error->text);
        }
        form_.showHiddenFamilies(base);
    }

    // "作図実行" (false) and "テキスト化" (true).
    void start(bool textMode) {
        core::DataFolder& data = app_.data();
        if (const auto error = form_.storeRun(data.settings)) {
            common::STOP_SUB(app_.dialogs(), "設定の値が正しくありません", *error);
            return;
        }
        form_.readHiddenFamilies(baseFamily());
        ensureLineage(baseFamily(), false);
        if (!app_.save([&] {
                data.save({core::Part::Settings, core::Part::Persons, core::Part::Families});
            })) {
            return;
        }
        if (data.settings.相続関係説明図にする || data.settings.法定相続情報一覧図にする) {
            if (!legalChartStart) {
                throw std::logic_error("the legal chart module is not installed");
            }
            legalChartStart(textMode);
            return;
        }
        draw(textMode, nullptr);
    }

    bool draw(bool textMode, render::ChartHeadings* headings, const ChartSource& source = {}) {
        core::DataFolder& data = app_.data();
        const int base = baseFamily();
        if (base == 0) {
            common::STOP_SUB(app_.dialogs(), "作図できません",
                             "作図する家族が決まっていません。家族を選んでください。");
            return false;
        }
        render::ChartRequest request;
        request.baseFamily = base;
        request.textMode = textMode;
        request.headings = headings;
        request.applicant = source.applicant;
        request.answer = [this, base](const layout::CentreQuestion&) -> std::optional<bool> {
            ensureLineage(base, false);
            return app_.data().reg.family(base).系統_F == core::Lineage::Paternal;
        };
        // The chart shown before gives up its memory first.
        window_->clearChart();
        render::ChartOutcome outcome =
            render::runChart(source.registers != nullptr ? *source.registers : data.reg,
                             source.settings != nullptr ? *source.settings : data.settings,
                             data.env, request, window_->glyphs());
        if (!outcome.ok()) {
            common::STOP_SUB(app_.dialogs(), outcome.failure->title, outcome.failure->text);
            return false;
        }
        render::ChartDrawing& drawing = *outcome.drawing;
        window_->setFolder(data.folder);
        window_->showChart(drawing.recording, std::move(drawing.text), std::move(drawing.persons));
        if (textMode) {
            window_->exportText();
        }
        return true;
    }

    void cancel() {
        core::DataFolder& data = app_.data();
        form_.storeControls(data.settings);
        form_.readHiddenFamilies(baseFamily());
        app_.save([&] {
            if (data.reg.familyCount() > 0) {
                data.save({core::Part::Settings, core::Part::Families});
            } else {
                data.saveSettings();
            }
        });
        runFamilyOperation(app_, [](editing::FamilyEditor& e) { e.setChartSettingsOpen(false); });
        app_.form3().hide();
        app_.form4().hide();
    }

private:
    TsubakiApp& app_;
    ChartSettingsForm form_;
    ChartWindow* window_; // owned by FORM3
};

ChartWiring& wiring(TsubakiApp& a) {
    auto* w = a.form4().findChild<QObject*>(kWiringName, Qt::FindDirectChildrenOnly);
    if (w == nullptr) {
        throw std::logic_error("the chart module is not installed");
    }
    return *static_cast<ChartWiring*>(w);
}

void install(TsubakiApp& a, EventModule& m) {
    auto* w = new ChartWiring(a); // owned by FORM4

    m.on(E::BUTTON_A21A_ON, [w] { w->open(); });
    // MAINFORM's "作図開始": the way to the family form, then the family form's own.
    m.on(E::BUTTON39_ON, [&a] {
        a.runHandler(E::BUTTON_A8A_ON);
        if (a.form2().isVisible()) {
            a.runHandler(E::BUTTON_A21A_ON);
        }
    });
    m.on(E::LIST_A5A_CLICK, [w] { w->form().readHiddenFamilies(w->baseFamily()); });
    m.on(E::BUTTON_A31A_ON, [w] { w->form().selectAllFamilies(w->baseFamily()); });
    m.on(E::BUTTON_A32A_ON, [w] { w->form().clearFamilies(); });
    m.on(E::BUTTON_A33A_ON, [w] { w->releaseDirectLine(); });
    m.on(E::BUTTON_A22A_ON, [w] { w->start(false); });
    m.on(E::BUTTON37_ON, [w] { w->start(true); });
    m.on(E::BUTTON_A23A_ON, [w] { w->cancel(); });

    // Choosing the base family (code 39, run by family editing) asks the centre-side
    // question, and the hidden-family list never selects the new base family.
    familyEditor(a).baseFamilyChosen = [&a, w](int family) {
        const int base = family > 0 ? family : w->baseFamily();
        w->ensureLineage(base, true);
        if (a.form4().isVisible()) {
            w->form().fillHiddenFamilies(w->baseFamily());
        }
    };

    // The check boxes and buttons of FORM4 that only switch others act at once.
    auto& ui = a.form4().ui();
    QObject::connect(ui.RADIO_A5A, &QRadioButton::clicked, w, [w] { w->form().verticalClicked(); });
    QObject::connect(ui.RADIO_A6A, &QRadioButton::clicked, w,
                     [w] { w->form().horizontalClicked(); });
    for (const char* name : {"CHECK_A6A", "CHECK_A9A", "CHECK_A11A"}) {
        auto* box = a.form4().findChild<QCheckBox*>(name);
        QObject::connect(box, &QCheckBox::clicked, w, [w, name] { w->form().fieldClicked(name); });
    }
    for (const char* name : {"CHECK_A18A", "CHECK46"}) {
        auto* box = a.form4().findChild<QCheckBox*>(name);
        QObject::connect(box, &QCheckBox::clicked, w,
                         [w, name] { w->form().legalFormClicked(name); });
    }
}

} // namespace

bool drawChartNow(TsubakiApp& app, bool textMode, render::ChartHeadings* headings,
                  const ChartSource& source) {
    return wiring(app).draw(textMode, headings, source);
}

void setLegalChartStart(TsubakiApp& app, std::function<void(bool)> start) {
    wiring(app).legalChartStart = std::move(start);
}

ChartWindow& chartWindow(TsubakiApp& app) {
    return wiring(app).window();
}

void installChartHandlers(TsubakiApp& a, EventModule& m) {
    install(a, m);
}

} // namespace app
