// The module "legal charts" of the event table: FORM8, FORM10 and FORM11 and the drawing of the two
// legal charts (legal_handlers.h).
#include "app/tsubaki/legal_handlers.h"
#include "app/tsubaki/screenshots.h"

#include "app/tsubaki/chart_handlers.h"
#include "app/tsubaki/chart_window.h"
#include "app/tsubaki/event_table.h"
#include "app/tsubaki/family_handlers.h"
#include "app/tsubaki/tsubaki_app.h"
#include "common/cp932.h"
#include "common/text.h"
#include "core/heirs.h"
#include "editing/names.h"
#include "editing/person_editing.h"
#include "forms/tsubaki/form10.h"
#include "forms/tsubaki/form11.h"
#include "forms/tsubaki/form3.h"
#include "forms/tsubaki/form8.h"
#include "layout/chart_survey.h"
#include "platform/qt_text.h"
#include "render/legal_chart.h"
#include "render/legal_checks.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTimer>

#include "ui_form10.h"
#include "ui_form11.h"
#include "ui_form8.h"

#include <QPixmap>

#include <algorithm>
#include <iostream>
#include <set>
#include <stdexcept>

using platform::toQString;
using platform::toUtf8;

namespace app {

namespace {

using E = EventCode;

constexpr const char* kWiringName = "legalCharts";

// A typed text in full width, or nullopt when it holds a character Shift-JIS cannot hold.
std::optional<std::string> fullWidth(const QString& typed) {
    try {
        return common::toFullWidth(toUtf8(typed));
    } catch (const common::Cp932Error&) {
        return std::nullopt;
    }
}

// The state of the legal chart side: which drawing the dialogs lead to and the persons of
// the heir list. A child object of FORM8, found through it.
class LegalWiring : public QObject {
public:
    explicit LegalWiring(TsubakiApp& a) : QObject(&a.form8()), app_(a) {
        setObjectName(kWiringName);
    }

    // "作図実行" / "テキスト化" of FORM4 with a legal chart chosen (after its saves).
    void start(bool textMode) {
        textMode_ = textMode;
        if (render::legalChartKind(app_.data().settings) == render::LegalChartKind::List) {
            openHeirs();
        } else {
            openExplanation();
        }
    }

    int baseFamily() const {
        const core::DataFolder& data = app_.data();
        return layout::defaultBaseFamily(data.settings, data.reg.familyCount());
    }

    int deceased() const {
        const core::Registers& reg = app_.data().reg;
        const int base = baseFamily();
        return base == 0 ? 0 : render::deceasedPerson(reg, base, reg.family(base).系統_F);
    }

    // ---- FORM8 ----

    // The survey runs first, so that a family that cannot be drawn is reported before the
    // dialog; then FORM8 with the registry address of the deceased when it changed.
    void openExplanation() {
        core::DataFolder& data = app_.data();
        const int base = baseFamily();
        if (base == 0) {
            common::STOP_SUB(app_.dialogs(), "作図できません",
                             "作図する家族が決まっていません。家族を選んでください。");
            return;
        }
        const layout::SurveyOutcome surveyed = layout::surveyChart(
            data.reg,
            layout::surveyOptions(render::runSettings(data.settings, textMode_), data.env, base),
            [](const layout::CentreQuestion&) { return std::optional<bool>(); });
        if (!surveyed.ok()) {
            common::STOP_SUB(app_.dialogs(), surveyed.error->title, surveyed.error->text);
            return;
        }
        if (const int d = deceased(); d != 0) {
            render::fillRegistryAddress(data.settings, data.reg.person(d));
        }
        const core::DrawingSettings& st = data.settings;
        auto& ui = app_.form8().ui();
        ui.CHECK37->setChecked(st.被相続人の情報欄を表示する);
        ui.CHECK38->setChecked(st.戸籍還付欄を表示する);
        ui.EDIT23->setText(toQString(st.登記簿上の住所１));
        ui.EDIT24->setText(toQString(st.登記簿上の住所２));
        ui.EDIT25->setText(toQString(st.登記簿上の住所３));
        ui.EDIT26->setText(toQString(st.登記簿上の住所４));
        showDialog(&app_.form8());
    }

    // FORM8's "作図実行": the four lines in full width, back into their fields, and draw.
    void explanationRun() {
        auto& ui = app_.form8().ui();
        QLineEdit* fields[] = {ui.EDIT23, ui.EDIT24, ui.EDIT25, ui.EDIT26};
        std::array<std::string, 4> lines;
        for (std::size_t i = 0; i < 4; ++i) {
            const auto wide = fullWidth(fields[i]->text());
            if (!wide) {
                common::STOP_SUB(app_.dialogs(), "入力エラー",
                                 "登記簿上の住所の" + std::to_string(i + 1) + "行目「" +
                                     toUtf8(fields[i]->text()) +
                                     "」に、Shift-JISで書けない文字があります。");
                fields[i]->setFocus();
                return;
            }
            lines[i] = *wide;
        }
        core::DrawingSettings& st = app_.data().settings;
        for (std::size_t i = 0; i < 4; ++i) {
            fields[i]->setText(toQString(lines[i]));
        }
        st.登記簿上の住所１ = lines[0];
        st.登記簿上の住所２ = lines[1];
        st.登記簿上の住所３ = lines[2];
        st.登記簿上の住所４ = lines[3];
        st.被相続人の情報欄を表示する = ui.CHECK37->isChecked();
        st.戸籍還付欄を表示する = ui.CHECK38->isChecked();
        closeDialog(&app_.form8());
        draw(render::LegalChartKind::Explanation, askLineage());
    }

    // ---- FORM10 ----

    void openHeirs() {
        core::DataFolder& data = app_.data();
        const int base = baseFamily();
        if (base == 0) {
            common::STOP_SUB(app_.dialogs(), "作図できません",
                             "作図する家族が決まっていません。家族を選んでください。");
            return;
        }
        heirList_ = core::heirListPersons(data.reg, data.settings, base, deceased());
        // Persons not in the list are no heirs of this chart.
        for (int p = 1; p <= data.reg.personCount(); ++p) {
            if (!std::binary_search(heirList_.begin(), heirList_.end(), p)) {
                data.settings.setHeir(p, false);
            }
        }
        auto& ui = app_.form10().ui();
        ui.LIST8->clear();
        for (int p : heirList_) {
            ui.LIST8->addItem(toQString(editing::personListLine(data.reg, p)));
            ui.LIST8->item(ui.LIST8->count() - 1)->setSelected(data.settings.isHeir(p));
        }
        ui.CHECK47->setChecked(data.settings.一覧図に住所を記載する != 0);
        ui.CHECK49->setChecked(data.settings.家督相続 != 0);
        ui.EDIT32->setText(toQString(data.settings.表題部追加情報));
        ui.listFormCheck->setChecked(data.options.listChartForm == core::ListChartForm::List);
        // The heirs the law gives, with their shares, beside the list.
        legalHeirs_ = core::workOutHeirs(data.reg, deceased(), heirList_);
        ui.heirShares->clear();
        for (const std::string& line : render::heirShareLines(data.reg, legalHeirs_)) {
            ui.heirShares->addItem(toQString(line));
        }
        showDialog(&app_.form10());
    }

    // "法定相続人を選ぶ": exactly the worked-out heirs selected; the user may change it.
    void chooseLegalHeirs() {
        const core::Registers& reg = app_.data().reg;
        if (legalHeirs_.deceased == 0) {
            common::STOP_SUB(app_.dialogs(), "法定相続人を選べません",
                             std::string(render::kDeceasedUnknown) + "。");
            return;
        }
        if (legalHeirs_.oldLaw) {
            common::STOP_SUB(app_.dialogs(), "法定相続人を選べません",
                             "被相続人の死亡は旧民法の時代なので、相続人を自動では選べません。");
            return;
        }
        const core::HeirChoice choice = core::chooseLegalHeirs(legalHeirs_, heirList_);
        QListWidget* list = app_.form10().ui().LIST8;
        for (std::size_t i = 0; i < heirList_.size(); ++i) {
            const bool heir = std::find(choice.selected.begin(), choice.selected.end(),
                                        heirList_[i]) != choice.selected.end();
            list->item(static_cast<int>(i))->setSelected(heir);
        }
        std::string missing;
        for (int p : choice.notListed) {
            missing += "\n" + render::personLabel(reg, p);
        }
        if (!missing.empty()) {
            common::STOP_SUB(app_.dialogs(), "法定相続人",
                             "次の相続人は非表示の家族にいるので選べません。" + missing);
        }
        if (!legalHeirs_.complete) {
            common::STOP_SUB(app_.dialogs(), "法定相続人",
                             "日付が読めない人がいるため、相続人をすべては決められません。"
                             "選ばれた人を確かめてください。");
        }
    }

    void selectAllHeirs(bool selected) {
        QListWidget* list = app_.form10().ui().LIST8;
        for (int i = 0; i < list->count(); ++i) {
            list->item(i)->setSelected(selected);
        }
    }

    // FORM10's "設定完了".
    void heirsDone() {
        auto& ui = app_.form10().ui();
        const auto addition = fullWidth(ui.EDIT32->text());
        if (!addition) {
            common::STOP_SUB(app_.dialogs(), "入力エラー",
                             "表題部追加情報「" + toUtf8(ui.EDIT32->text()) +
                                 "」に、Shift-JISで書けない文字があります。");
            ui.EDIT32->setFocus();
            return;
        }
        ui.EDIT32->setText(toQString(*addition));
        core::DrawingSettings& st = app_.data().settings;
        for (std::size_t i = 0; i < heirList_.size(); ++i) {
            st.setHeir(heirList_[i], ui.LIST8->item(static_cast<int>(i))->isSelected());
        }
        st.一覧図に住所を記載する = ui.CHECK47->isChecked() ? 1 : 0;
        st.家督相続 = ui.CHECK49->isChecked() ? 1 : 0;
        st.表題部追加情報 = *addition;
        app_.data().options.listChartForm =
            ui.listFormCheck->isChecked() ? core::ListChartForm::List : core::ListChartForm::Tree;
        app_.form10().hide();
        openApplicant();
    }

    // ---- FORM11 ----

    void openApplicant() {
        const core::DataFolder& data = app_.data();
        const core::DrawingSettings& st = data.settings;
        auto& ui = app_.form11().ui();
        {
            // Showing the stored applicant is no click: its fields keep what was stored.
            const QSignalBlocker block(ui.LIST9);
            ui.LIST9->clear();
            ui.LIST9->addItem(QStringLiteral("このリストに申出人はいない"));
            for (int p = 1; p <= data.reg.personCount(); ++p) {
                ui.LIST9->addItem(toQString(editing::personListLine(data.reg, p)));
            }
            const int applicant = st.申出人の当事者番号;
            ui.LIST9->setCurrentRow(
                applicant >= 0 && applicant <= data.reg.personCount() ? applicant : 0);
        }
        ui.EDIT27->setText(toQString(st.申出人の住所));
        ui.EDIT28->setText(toQString(st.申出人の氏名));
        ui.EDIT29->setText(toQString(st.作成者の住所));
        ui.EDIT30->setText(toQString(st.作成者の氏名));
        ui.EDIT31->setText(toQString(st.作成日付));
        ui.CHECK48->setChecked(st.この系図では設定の記載を省略 != 0);
        showDialog(&app_.form11());
    }

    // A click in the applicant list: the person's address and name, or nothing for the
    // first line.
    void applicantChosen() {
        auto& ui = app_.form11().ui();
        const int row = ui.LIST9->currentRow();
        const core::Registers& reg = app_.data().reg;
        if (row < 1 || row > reg.personCount()) {
            ui.EDIT27->clear();
            ui.EDIT28->clear();
            return;
        }
        const core::当事者& p = reg.person(row);
        ui.EDIT27->setText(toQString(p.住所1 + p.住所2));
        ui.EDIT28->setText(toQString(editing::氏名結合_SUB(p)));
    }

    void creatorIsApplicant() {
        auto& ui = app_.form11().ui();
        ui.EDIT29->setText(ui.EDIT27->text());
        ui.EDIT30->setText(ui.EDIT28->text());
    }

    // FORM11's "設定完了": the fields stored, the settings and both registers saved, and
    // the list chart drawn (the subroutine of code 29).
    void applicantDone() {
        auto& ui = app_.form11().ui();
        const std::pair<QLineEdit*, const char*> fields[] = {{ui.EDIT27, "申出人の住所"},
                                                             {ui.EDIT28, "申出人の氏名"},
                                                             {ui.EDIT29, "作成者の住所"},
                                                             {ui.EDIT30, "作成者の氏名"},
                                                             {ui.EDIT31, "作成日付"}};
        std::array<std::string, 5> values;
        for (std::size_t i = 0; i < 5; ++i) {
            const auto wide = fullWidth(fields[i].first->text());
            if (!wide) {
                common::STOP_SUB(app_.dialogs(), "入力エラー",
                                 std::string(fields[i].second) + "「" +
                                     toUtf8(fields[i].first->text()) +
                                     "」に、Shift-JISで書けない文字があります。");
                fields[i].first->setFocus();
                return;
            }
            values[i] = *wide;
        }
        core::DataFolder& data = app_.data();
        core::DrawingSettings& st = data.settings;
        for (std::size_t i = 0; i < 5; ++i) {
            fields[i].first->setText(toQString(values[i]));
        }
        st.申出人の当事者番号 = static_cast<std::int16_t>(std::max(0, ui.LIST9->currentRow()));
        st.この系図では設定の記載を省略 = ui.CHECK48->isChecked() ? 1 : 0;
        st.申出人の住所 = values[0];
        st.申出人の氏名 = values[1];
        st.作成者の住所 = values[2];
        st.作成者の氏名 = values[3];
        st.作成日付 = values[4];
        closeDialog(&app_.form11());
        // A failed save is reported; the chart is drawn all the same, from a copy of the
        // registers, so nothing typed is lost either way.
        app_.save([&] {
            data.save({core::Part::Settings, core::Part::Persons, core::Part::Families,
                       core::Part::Options});
        });
        drawList();
    }

    // The list chart's construction and drawing: the subroutine behind code 29.
    bool drawList() { return draw(render::LegalChartKind::List, askLineage()); }

    // ---- drawing ----

    // The lineage question of a family whose lineage is not set. The base family's answer
    // is kept (in its 系統_F and FORM6's lineage buttons, as the plain chart keeps it);
    // another family's holds for this drawing.
    render::LineageAnswer askLineage() {
        return [this](const layout::CentreQuestion& question) -> std::optional<bool> {
            const bool husband =
                app_.dialogs().yes(question.title, question.text, common::Icon::Question);
            if (question.family == baseFamily()) {
                const core::Lineage chosen = core::lineageThrough(husband);
                runFamilyOperation(app_, [&](editing::FamilyEditor& editor) {
                    if (editor.currentFamily() == question.family) {
                        editor.lineOfDescentChosen(chosen);
                    }
                });
                app_.data().reg.family(question.family).系統_F = chosen;
            }
            return husband;
        };
    }

    // Prepares the chart, lists the findings of the checks in one dialog ("このまま作図" or
    // "戻って直す", which goes back to the chart's first dialog), and draws.
    bool draw(render::LegalChartKind kind, const render::LineageAnswer& answer) {
        core::DataFolder& data = app_.data();
        const int base = baseFamily();
        if (base == 0) {
            common::STOP_SUB(app_.dialogs(), "作図できません",
                             "作図する家族が決まっていません。家族を選んでください。");
            return false;
        }
        render::DrawingCanvasFactory factory(chartWindow(app_).glyphs());
        render::LegalChartOutcome prepared =
            render::prepareLegalChart(kind, data.reg, data.settings, base, textMode_, factory,
                                      answer, data.options.listChartForm);
        if (!prepared.ok()) {
            common::STOP_SUB(app_.dialogs(), prepared.failure->title, prepared.failure->text);
            return false;
        }
        render::LegalChart& chart = *prepared.chart;
        if (checks_) {
            render::LegalCheckRequest request;
            request.kind = kind;
            request.form = chart.form;
            request.baseFamily = base;
            request.deceased = chart.deceased;
            const std::vector<render::Finding> findings =
                render::checkLegalChart(data.reg, data.settings, request);
            if (!findings.empty() &&
                !app_.dialogs().choose(render::kFindingsTitle, render::findingsMessage(findings),
                                       render::kDrawAnyway, render::kGoBack,
                                       render::hasErrors(findings) ? common::Icon::Exclamation
                                                                   : common::Icon::Information)) {
                if (kind == render::LegalChartKind::List) {
                    openHeirs();
                } else {
                    openExplanation();
                }
                return false;
            }
        }
        return drawChartNow(app_, textMode_, chart.headings.get(),
                            ChartSource{&chart.registers, &chart.settings, chart.applicant});
    }

    bool textMode() const { return textMode_; }
    void setTextMode(bool on) { textMode_ = on; }
    // Off only for the pictures of scripts/screenshot, which show the charts as drawn.
    void setChecks(bool on) { checks_ = on; }

    void showDialog(QWidget* dialog) {
        for (QWidget* form : app_.allForms()) {
            form->setEnabled(form == dialog);
        }
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    }
    void closeDialog(QWidget* dialog) {
        dialog->hide();
        for (QWidget* form : app_.allForms()) {
            form->setEnabled(true);
        }
    }

private:
    TsubakiApp& app_;
    bool textMode_ = false;
    bool checks_ = true;
    std::vector<int> heirList_;    // the persons of LIST8, in list order
    core::HeirOutcome legalHeirs_; // worked out when FORM10 opens
};

LegalWiring& wiring(TsubakiApp& a) {
    auto* w = a.form8().findChild<QObject*>(kWiringName, Qt::FindDirectChildrenOnly);
    if (w == nullptr) {
        throw std::logic_error("the legal chart module is not installed");
    }
    return *static_cast<LegalWiring*>(w);
}

void install(TsubakiApp& a, EventModule& m) {
    auto* w = new LegalWiring(a); // owned by FORM8
    setLegalChartStart(a, [w](bool textMode) { w->start(textMode); });
    m.on(E::BUTTON38_ON, [w] { w->explanationRun(); });
    m.on(E::BUTTON44_ON, [w] { w->selectAllHeirs(true); });
    m.on(E::BUTTON45_ON, [w] { w->selectAllHeirs(false); });
    m.on(E::BUTTON46_ON, [w] { w->heirsDone(); });
    m.on(E::LIST9_CLICK, [w] { w->applicantChosen(); });
    m.on(E::BUTTON48_ON, [w] { w->applicantDone(); });
    m.on(E::InheritanceChart, [w] { w->drawList(); });
    // "法定相続人を選ぶ" and "作成者は申出人と同じ" only change the dialog: at once.
    QObject::connect(a.form10().ui().chooseLegalHeirs, &QAbstractButton::clicked, w,
                     [w] { w->chooseLegalHeirs(); });
    QObject::connect(a.form11().ui().BUTTON47, &QAbstractButton::clicked, w,
                     [w] { w->creatorIsApplicant(); });
}

// ---- pictures for scripts/screenshot ----

bool snapWholeChart(TsubakiApp& app, const QDir& dir, const QString& name, bool drawn) {
    return saveChartPicture(drawn ? &chartWindow(app) : nullptr, dir, name);
}

} // namespace

bool saveLegalChartScreenshots(TsubakiApp& app, const std::string& folder) {
    core::DataFolder& data = app.data();
    if (data.reg.familyCount() < 1) {
        return true;
    }
    const QDir dir(toQString(folder));
    LegalWiring& w = wiring(app);
    const core::DrawingSettings keptSettings = data.settings;
    const core::Registers keptRegisters = data.reg;
    core::DrawingSettings& st = data.settings;
    for (QWidget* f : app.allForms()) {
        f->hide();
    }
    w.setTextMode(false);
    w.setChecks(false);
    bool ok = true;

    // The explanation chart: FORM8 as it opens, then its "作図実行" (which saves nothing).
    st.相続関係説明図にする = true;
    st.法定相続情報一覧図にする = false;
    st.縦書き = true;
    st.横書き = false;
    w.openExplanation();
    ok = snapForm(&app.form8(), dir, "form8_explanation") && ok;
    w.explanationRun();
    ok = snapWholeChart(app, dir, "chart_explanation_vertical", app.form3().isVisible()) && ok;
    st.縦書き = false;
    st.横書き = true;
    const auto male = [](const layout::CentreQuestion&) { return std::optional<bool>(true); };
    ok = snapWholeChart(app, dir, "chart_explanation_horizontal",
                        w.draw(render::LegalChartKind::Explanation, male)) &&
         ok;

    // The list chart, with the families that have nothing to do with the inheritance
    // hidden, as a practitioner hides them in FORM4.
    st.相続関係説明図にする = false;
    st.法定相続情報一覧図にする = true;
    const int base = w.baseFamily();
    const int deceased = w.deceased();
    for (int f = 1; f <= data.reg.familyCount(); ++f) {
        const core::家族& family = data.reg.family(f);
        const auto concerned = [&](int p) { return p != 0 && (p == deceased || st.isHeir(p)); };
        const bool substituted = family.夫肩書 == "被代襲者" || family.妻肩書 == "被代襲者";
        if (f != base && !concerned(family.夫NO) && !concerned(family.妻NO) && !substituted &&
            static_cast<std::size_t>(f) <= st.familyEntries.size()) {
            st.familyEntries[static_cast<std::size_t>(f - 1)].selected = 1;
        }
    }
    w.openHeirs();
    ok = snapForm(&app.form10(), dir, "form10_heirs") && ok;
    w.heirsDone();
    ok = snapForm(&app.form11(), dir, "form11_applicant") && ok;
    w.closeDialog(&app.form11()); // instead of its "設定完了", which saves
    ok = snapWholeChart(app, dir, "chart_list", w.draw(render::LegalChartKind::List, male)) && ok;
    // The list form of the same chart.
    const core::FolderOptions keptOptions = data.options;
    data.options.listChartForm = core::ListChartForm::List;
    ok = snapWholeChart(app, dir, "chart_list_form", w.draw(render::LegalChartKind::List, male)) &&
         ok;
    data.options = keptOptions;
    // The findings dialog as drawing the list chart shows it: pictured while it waits for an
    // answer, then answered with "このまま作図".
    w.setChecks(true);
    bool findingsShown = false;
    QTimer waiting;
    waiting.setSingleShot(true);
    QObject::connect(&waiting, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        auto* buttons = box != nullptr ? box->findChild<QDialogButtonBox*>() : nullptr;
        if (buttons == nullptr) {
            return;
        }
        findingsShown = true;
        ok = snapForm(box, dir, "findings_dialog") && ok;
        for (QAbstractButton* b : buttons->buttons()) {
            if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole) {
                b->click();
            }
        }
    });
    waiting.start(0);
    w.draw(render::LegalChartKind::List, male);
    waiting.stop();
    if (!findingsShown) {
        std::cerr << "tsubaki: the findings dialog was not shown\n";
        ok = false;
    }

    for (QWidget* f : app.allForms()) {
        f->setEnabled(true);
    }
    data.settings = keptSettings;
    data.reg = keptRegisters;
    return ok;
}

void installLegalHandlers(TsubakiApp& a, EventModule& m) {
    install(a, m);
}

} // namespace app
