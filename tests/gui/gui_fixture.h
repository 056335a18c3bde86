// The fixture of the window tests: a data folder and a "KANKYO.TXT" in temporary folders, a
// TsubakiApp with scripted dialogs, and access to the controls by their names.
#pragma once

#include "app/tsubaki/tsubaki_app.h"
#include "common/cp932.h"
#include "common/file_io.h"
#include "core/constants.h"
#include "core/drawing_settings.h"
#include "core/environment.h"
#include "core/family_register.h"
#include "core/person_register.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace app {

// What tests may do to a TsubakiApp that the program never does.
struct TsubakiAppTestHook {
    // Puts `handler` in place of the table entry of `code`, whoever filled it, so that a
    // test can put a probe there; an empty handler leaves the entry empty.
    static void replaceHandler(TsubakiApp& app, EventCode code, std::function<void()> handler) {
        if (TsubakiApp::Entry* e = app.entry(code)) {
            e->handler = std::move(handler);
        }
    }
};

} // namespace app

namespace gui_test {

namespace fs = std::filesystem;

inline std::string s(const QString& text) {
    return text.toStdString();
}

inline core::当事者 person(int n, const char* sei, const char* mei, int sex = 1) {
    core::当事者 p;
    p.当事者NO = p.C_当事者NO = static_cast<std::int16_t>(n);
    p.姓 = sei;
    p.名 = mei;
    p.男女 = static_cast<std::int16_t>(sex);
    return p;
}

inline core::Environment environment(int capacity = 100) {
    core::Environment env;
    env.Mode = 1;
    env.最大登録人数 = static_cast<std::int16_t>(capacity);
    env.最大婚姻数 = 50;
    env.一世帯当りの子供の最大数 = 20;
    env.一人が持てる最大家族数 = 10;
    env.最大世代数 = 30;
    env.一般 = {"子"};
    env.息子 = {"長男"};
    env.娘 = {"長女"};
    env.夫 = core::defaultHusbandTitles();
    env.妻 = core::defaultWifeTitles();
    return env;
}

class Gui : public ::testing::Test {
protected:
    testing_support::TempDir data;    // the data folder
    testing_support::TempDir workDir; // holds "KANKYO.TXT"
    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<app::TsubakiApp> app;

    void TearDown() override {
        if (app) {
            EXPECT_TRUE(app->unexpectedErrors().empty())
                << (app->unexpectedErrors().empty() ? "" : app->unexpectedErrors().front());
        }
    }

    fs::path envFile() const { return workDir.path() / "KANKYO.TXT"; }

    void writeEnvironment(const core::Environment& env) const {
        core::writeEnvironment(envFile(), env);
    }
    void writePersons(const std::vector<core::当事者>& persons) const {
        core::当事者目録_W_SUB(data.path(), persons);
    }
    void writeFamilies(const std::vector<core::家族>& families) const {
        core::家族目録_W_SUB(data.path(), families);
    }
    void writeSettings(int families, int persons) const {
        core::作図設定_SW_SUB(data.path(), core::firstUseSettings(families), families, persons);
    }
    // The sample data folder, with its "KANKYO.TXT" in the working folder.
    void copySamples() const {
        for (const auto& e : fs::directory_iterator(fs::path(TSUBAKI_SAMPLES_DIR))) {
            if (e.path().filename() == "KANKYO.TXT") {
                fs::copy_file(e.path(), envFile());
            } else {
                fs::copy_file(e.path(), data.path() / e.path().filename());
            }
        }
    }
    // A folder with "KANKYO.TXT" and a person register of `persons`.
    void prepare(const std::vector<core::当事者>& persons, int capacity = 100) {
        writeEnvironment(environment(capacity));
        writePersons(persons);
    }

    // Starts on the data folder as given on the command line.
    bool start() {
        app = std::make_unique<app::TsubakiApp>(dialogs);
        app::StartOptions o;
        o.environmentFile = envFile();
        o.dataFolder = data.path();
        return app->start(o);
    }

    template <class T = QWidget> T* ctl(QWidget& form, const char* name) {
        auto* c = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    template <class T = QWidget> T* main(const char* name) { return ctl<T>(mainForm(), name); }
    template <class T = QWidget> T* f5(const char* name) { return ctl<T>(form(4), name); }

    QWidget& mainForm() { return *app->allForms()[0]; }
    // Forms by their number: 0 MAINFORM, 1 FORM2, ... 10 FORM11.
    QWidget& form(int i) { return *app->allForms()[static_cast<std::size_t>(i)]; }

    void click(QWidget& form, const char* name) { ctl<QAbstractButton>(form, name)->click(); }
    void clickMain(const char* name) { click(mainForm(), name); }
    void set(const char* name, const char* text) {
        f5<QLineEdit>(name)->setText(QString::fromUtf8(text));
    }

    // Selects list entry `n` (1-based) as a user does.
    void choosePerson(int n) { main<QListWidget>("LIST_A1A")->setCurrentRow(n - 1); }
    // Opens the person form on person n.
    void edit(int n) {
        choosePerson(n);
        clickMain("BUTTON34");
    }
    // Adds a person with the given names through the person form.
    void add(const char* sei, const char* mei) {
        clickMain("BUTTON_A1A");
        set("EDIT_A1A", sei);
        set("EDIT_A2A", mei);
        click(form(4), "BUTTON_A2A");
    }
    int personCount() { return app->data().reg.personCount(); }
    std::string listLine(int n) { return s(main<QListWidget>("LIST_A1A")->item(n - 1)->text()); }
};

} // namespace gui_test
