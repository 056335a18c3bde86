#include "app/tsubaki/screenshots.h"

#include "app/tsubaki/chart_window.h"
#include "platform/png_file.h"

#include "app/tsubaki/chart_handlers.h"
#include "app/tsubaki/family_handlers.h"
#include "app/tsubaki/legal_handlers.h"
#include "app/tsubaki/tsubaki_app.h"
#include "forms/tsubaki/mainform.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <iostream>

using platform::toQString;
using platform::toUtf8;

namespace app {

bool snapForm(QWidget* form, const QDir& dir, const QString& name) {
    form->show();
    form->raise();
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
    const QString path = dir.filePath(name + ".png");
    if (!form->grab().save(path)) {
        std::cerr << "tsubaki: cannot write " << toUtf8(path) << "\n";
        return false;
    }
    std::cout << toUtf8(path) << "\n";
    return true;
}

bool saveChartPicture(ChartWindow* window, const QDir& dir, const QString& name) {
    if (window == nullptr || window->chart() == nullptr) {
        std::cerr << "tsubaki: the chart of " << toUtf8(name) << " was not drawn\n";
        return false;
    }
    const QString path = dir.filePath(name + ".png");
    try {
        platform::writePng(*window->chart(), window->glyphs(), toUtf8(path));
    } catch (const std::exception& e) {
        std::cerr << "tsubaki: " << e.what() << "\n";
        return false;
    }
    std::cout << toUtf8(path) << "\n";
    return true;
}

namespace {

// A user's choice of entry `entry` in the list `list` of the family forms: the entry
// chosen, then the list's event `code` raised.
void chooseInFamilyForms(TsubakiApp& app, const char* list, int entry, EventCode code) {
    auto& family = app.familyEditing();
    family.run([&] { family.editor().controls()[list].current = entry; });
    app.dispatch(code);
}

// The family forms on the second family of the samples (a confirmed, divorced couple with
// a child), opened as a user opens them: FORM2 filled as "家族構成へ" fills it (without its
// save), a click on the family, a click on its first child, "子供の追加".
bool snapFamilyForms(TsubakiApp& app, const QDir& dir) {
    if (app.data().reg.familyCount() < 2 || !app.onFamilyFormOpened) {
        return true;
    }
    for (QWidget* f : app.allForms()) {
        f->hide();
    }
    QWidget* form2 = app.allForms()[1];
    QWidget* form6 = app.allForms()[5];
    form2->show();
    app.onFamilyFormOpened();
    chooseInFamilyForms(app, "LIST_A3A", 1, EventCode::LIST_A3A_CLICK);
    bool ok = snapForm(form2, dir, "form2_family");
    ok = snapForm(form6, dir, "form6_family") && ok;
    const auto& editor = app.familyEditing().editor();
    if (!editor.controls()["LIST_A2A"].items.empty()) {
        chooseInFamilyForms(app, "LIST_A2A", 0, EventCode::LIST_A2A_CLICK);
        ok = snapForm(form6, dir, "form6_child") && ok;
    }
    // "子供の追加": the candidate list (left open; nothing is added).
    app.dispatch(editor.childSelectionButtonCode());
    ok = snapForm(form6, dir, "form6_choosing") && ok;
    return ok;
}

// The forms of the persons and the families on the whole screen, opened as a user opens
// them: the main window with the first person chosen, the person form on that person, the
// copy dialog over it and the person form's guidance after "実行" without a source, then the
// family forms on the second family, its first child chosen, and "子供の追加" with the
// guidance of the candidate list and after "登録決定" without a choice. Nothing is saved.
bool snapScreens(TsubakiApp& app, const QDir& dir) {
    if (app.data().reg.personCount() < 1) {
        return true;
    }
    for (QWidget* f : app.allForms()) {
        f->hide();
    }
    app.mainForm().show();
    app.selectPerson(1);
    bool ok = snapScreen(dir, "screen_mainform");
    app.dispatch(EventCode::BUTTON34_ON);
    ok = snapScreen(dir, "screen_form5") && ok;
    app.dispatch(EventCode::BUTTON_A25A_ON);
    ok = snapScreen(dir, "screen_form7") && ok;
    app.dispatch(EventCode::BUTTON35_ON);
    ok = snapScreen(dir, "screen_form5_guidance") && ok;
    app.cancelPersonForm();

    if (app.data().reg.familyCount() < 2 || !app.onFamilyFormOpened) {
        return ok;
    }
    app.mainForm().hide();
    app.allForms()[1]->show();
    app.onFamilyFormOpened();
    chooseInFamilyForms(app, "LIST_A3A", 1, EventCode::LIST_A3A_CLICK);
    ok = snapScreen(dir, "screen_family") && ok;
    const auto& editor = app.familyEditing().editor();
    if (!editor.controls()["LIST_A2A"].items.empty()) {
        chooseInFamilyForms(app, "LIST_A2A", 0, EventCode::LIST_A2A_CLICK);
        ok = snapScreen(dir, "screen_family_child") && ok;
    }
    app.dispatch(editor.childSelectionButtonCode());
    ok = snapScreen(dir, "screen_family_choosing") && ok;
    app.dispatch(editor.childSelectionButtonCode());
    ok = snapScreen(dir, "screen_family_nothing_added") && ok;
    return ok;
}

} // namespace

// The whole screen as the user sees it (the forms where they opened), as `name`.png.
bool snapScreen(const QDir& dir, const QString& name) {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    const QString path = dir.filePath(name + ".png");
    if (screen == nullptr || !screen->grabWindow(0).save(path)) {
        std::cerr << "tsubaki: cannot write " << toUtf8(path) << "\n";
        return false;
    }
    std::cout << toUtf8(path) << "\n";
    return true;
}

int saveScreenshots(TsubakiApp& app, const std::string& folder) {
    QDir dir(toQString(folder));
    if (!dir.mkpath(".")) {
        std::cerr << "tsubaki: cannot make " << folder << "\n";
        return 1;
    }
    bool ok = snapForm(&app.mainForm(), dir, "mainform");

    // The person form, opened the way a user opens it: the first person chosen in the list,
    // then "リスト中の当事者を編集".
    if (app.data().reg.personCount() > 0) {
        app.selectPerson(1);
        ok = snapForm(&app.mainForm(), dir, "mainform_selected") && ok;
        app.dispatch(EventCode::BUTTON34_ON);
        ok = snapForm(app.allForms()[4], dir, "form5") && ok;
    }

    const auto forms = app.allForms();
    const char* names[] = {"mainform", "form2", "form3", "form4",  "form5", "form6",
                           "form7",    "form8", "form9", "form10", "form11"};
    for (std::size_t i = 1; i < forms.size(); ++i) {
        if (i == 4) {
            continue; // taken above
        }
        for (QWidget* f : forms) {
            f->hide();
        }
        ok = snapForm(forms[i], dir, names[i]) && ok;
    }
    ok = snapFamilyForms(app, dir) && ok;
    ok = snapScreens(app, dir) && ok;
    ok = saveChartScreenshots(app, folder) && ok;
    ok = saveLegalChartScreenshots(app, folder) && ok;
    return ok ? 0 : 1;
}

} // namespace app
