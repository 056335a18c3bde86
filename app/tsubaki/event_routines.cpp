// The event routines: what each control does when the user works it. Most only raise their
// event code; a few record a selection first, and the backup buttons and the link dialog's
// cancel act at once.
#include "app/tsubaki/tsubaki_app.h"

#include "common/file_io.h"
#include "core/backup.h"
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

#include <QAbstractButton>
#include <QComboBox>
#include <QListWidget>

#include "ui_form2.h"
#include "ui_form4.h"
#include "ui_form5.h"
#include "ui_form6.h"
#include "ui_form9.h"
#include "ui_mainform.h"

#include <stdexcept>
#include <type_traits>

namespace app {

namespace {

template <class T> T* control(QWidget* form, const char* name) {
    auto* c = form->findChild<T*>(QString::fromLatin1(name));
    if (c == nullptr) {
        throw std::logic_error(std::string("control missing: ") + name);
    }
    return c;
}

} // namespace

void TsubakiApp::connectEventRoutines() {
    using E = EventCode;
    QWidget* const main = mainForm_.get();
    QWidget* const f2 = form2_.get();
    QWidget* const f4 = form4_.get();
    QWidget* const f5 = form5_.get();
    QWidget* const f6 = form6_.get();
    struct Click {
        QWidget* form;
        const char* name;
        EventCode code;
    };
    const Click clicks[] = {
        {main, "BUTTON_A1A", E::BUTTON_A1A_ON},
        {main, "BUTTON_A3A", E::BUTTON_A3A_ON},
        {main, "BUTTON_A8A", E::BUTTON_A8A_ON},
        {main, "BUTTON_A15A", E::BUTTON_A15A_ON},
        {main, "BUTTON_A26A", E::BUTTON_A26A_ON},
        {main, "BUTTON_A27A", E::BUTTON_A27A_ON},
        {main, "BUTTON_A30A", E::BUTTON_A30A_ON},
        {main, "BUTTON39", E::BUTTON39_ON},
        {f2, "BUTTON_A9A", E::BUTTON_A9A_ON},
        {f2, "BUTTON_A5A", E::BUTTON_A5A_ON},
        {f2, "BUTTON_A7A", E::BUTTON_A7A_ON},
        {f2, "BUTTON_A14A", E::BUTTON_A14A_ON},
        {f2, "BUTTON_A16A", E::BUTTON_A16A_ON},
        {f2, "BUTTON_A28A", E::BUTTON_A28A_ON},
        {f2, "BUTTON_A29A", E::BUTTON_A29A_ON},
        {f2, "BUTTON_A21A", E::BUTTON_A21A_ON},
        {f4, "BUTTON_A31A", E::BUTTON_A31A_ON},
        {f4, "BUTTON_A32A", E::BUTTON_A32A_ON},
        {f4, "BUTTON_A33A", E::BUTTON_A33A_ON},
        {f4, "BUTTON_A22A", E::BUTTON_A22A_ON},
        {f4, "BUTTON_A23A", E::BUTTON_A23A_ON},
        {f4, "BUTTON37", E::BUTTON37_ON},
        {f5, "BUTTON_A2A", E::BUTTON_A2A_ON},
        {f5, "BUTTON_A25A", E::BUTTON_A25A_ON},
        {f5, "CHECK35", E::CHECK35_ON},
        {f5, "CHECK39", E::CHECK39_ON},
        {f6, "BUTTON_A6A", E::BUTTON_A6A_ON},
        {f6, "CHECK_A2A", E::CHECK_A2A_ON},
        {f6, "BUTTON_A13A", E::BUTTON_A13A_ON},
        {f6, "BUTTON_A10A", E::BUTTON_A10A_ON},
        {f6, "BUTTON_A11A", E::BUTTON_A11A_ON},
        {f6, "BUTTON_A12A", E::BUTTON_A12A_ON},
        {f6, "BUTTON_A17A", E::BUTTON_A17A_ON},
        {f6, "BUTTON_A20A", E::BUTTON_A20A_ON},
        {f6, "CHECK_A4A", E::CHECK_A4A_ON},
        {f6, "BUTTON_A18A", E::BUTTON_A18A_ON},
        {f6, "BUTTON_A19A", E::BUTTON_A19A_ON},
        {f6, "CHECK_A1A", E::CHECK_A1A_ON},
        {f6, "CHECK_A5A", E::CHECK_A5A_ON},
        {f6, "CHECK_A21A", E::CHECK_A21A_ON},
        {f6, "BUTTON36", E::BUTTON36_ON},
        {f6, "RADIO_A1A", E::RADIO_A1A_ON},
        {f6, "RADIO_A2A", E::RADIO_A2A_ON},
        {f6, "RADIO_A7A", E::RADIO_A7A_ON},
        {f6, "BUTTON42", E::COMBO6_CHANGE},
        {f6, "BUTTON43", E::COMBO7_CHANGE},
        {f6, "CHECK44", E::CHECK44_ON},
        {f6, "CHECK50", E::CHECK50_ON},
        {form7_.get(), "BUTTON35", E::BUTTON35_ON},
        {form8_.get(), "BUTTON38", E::BUTTON38_ON},
        {form10_.get(), "BUTTON46", E::BUTTON46_ON},
        {form10_.get(), "BUTTON44", E::BUTTON44_ON},
        {form10_.get(), "BUTTON45", E::BUTTON45_ON},
        {form11_.get(), "BUTTON48", E::BUTTON48_ON},
    };
    for (const auto& c : clicks) {
        QObject::connect(control<QAbstractButton>(c.form, c.name), &QAbstractButton::clicked,
                         [this, code = c.code] { dispatch(code); });
    }

    // Selection lists whose click only records and shows a choice: also raised by the
    // keyboard, never twice for one choice.
    const Click selections[] = {
        {f2, "LIST_A3A", E::LIST_A3A_CLICK},
        {f6, "LIST_A2A", E::LIST_A2A_CLICK},
        {form7_.get(), "LIST6", E::LIST6_CLICK},
        {form11_.get(), "LIST9", E::LIST9_CLICK},
    };
    for (const auto& c : selections) {
        QObject::connect(control<QListWidget>(c.form, c.name), &QListWidget::currentRowChanged,
                         [this, code = c.code](int row) {
                             if (row >= 0) {
                                 dispatch(code);
                             }
                         });
    }
    QObject::connect(control<QListWidget>(f4, "LIST_A5A"), &QListWidget::itemSelectionChanged,
                     [this] { dispatch(E::LIST_A5A_CLICK); });
    QObject::connect(control<QComboBox>(f2, "COMBO_A5A"), &QComboBox::activated,
                     [this](int) { dispatch(E::COMBO_A5A_CHANGE); });
    QObject::connect(control<QComboBox>(f6, "COMBO6"), &QComboBox::activated,
                     [this](int) { dispatch(E::COMBO6_CHANGE); });
    QObject::connect(control<QComboBox>(f6, "COMBO7"), &QComboBox::activated,
                     [this](int) { dispatch(E::COMBO7_CHANGE); });

    // The person list records the selected person and enables "リスト中の当事者を編集".
    auto& mainUi = mainForm_->ui();
    QObject::connect(mainUi.LIST_A1A, &QListWidget::currentRowChanged, [this](int row) {
        if (dispatching_ || row < 0) {
            return;
        }
        persons_.selected = row + 1;
        mainForm_->ui().BUTTON34->setEnabled(true);
        dispatch(E::LIST_A1A_CLICK);
    });
    QObject::connect(mainUi.BUTTON34, &QAbstractButton::clicked, [this] {
        const int row = mainForm_->ui().LIST_A1A->currentRow();
        if (dispatching_ || row < 0) {
            return;
        }
        persons_.selected = row + 1;
        dispatch(E::BUTTON34_ON);
    });

    // "子供の追加" / "登録決定": the code tells whether the child-entry area is shown.
    auto& f6ui = form6_->ui();
    QObject::connect(f6ui.BUTTON_A4A, &QAbstractButton::clicked, [this] {
        dispatch(form6_->ui().LIST_A4A->isHidden() ? E::BUTTON_A4A_ON_12 : E::BUTTON_A4A_ON_11);
    });

    // The link-source list acts on a click or on Enter, once while the dialog is open.
    auto& f9ui = form9_->ui();
    auto chooseSource = [this] {
        if (form9_->isVisible()) {
            dispatch(E::LIST7_CLICK);
        }
    };
    QObject::connect(f9ui.LIST7, &QListWidget::itemClicked, chooseSource);
    QObject::connect(f9ui.LIST7, &QListWidget::itemActivated, chooseSource);
    QObject::connect(f9ui.BUTTON41, &QAbstractButton::clicked, [this] {
        if (dispatching_) {
            return;
        }
        form9_->hide();
        form5_->setEnabled(true);
        form5_->show();
        form5_->ui().CHECK39->setChecked(false);
    });

    // "ファイルをバックアップ" on MAINFORM, FORM2 and FORM4: at once, silently.
    auto backup = [this] {
        if (dispatching_ || data_.folder.empty()) {
            return;
        }
        try {
            core::データバックアップ_SUB(data_.folder);
        } catch (const common::FileError& e) {
            common::STOP_SUB(dialogs_, "バックアップできません", e.what());
        }
    };
    QObject::connect(mainUi.BUTTON49, &QAbstractButton::clicked, backup);
    QObject::connect(form2_->ui().BUTTON50, &QAbstractButton::clicked, backup);
    QObject::connect(form4_->ui().BUTTON51, &QAbstractButton::clicked, backup);
}

void TsubakiApp::connectCloseActions() {
    // MAINFORM's and FORM2's frames act as their "終　了"; a sub-form's frame as its cancel.
    setCloseAction(mainForm_.get(), [this] { dispatch(EventCode::BUTTON_A15A_ON); });
    setCloseAction(form2_.get(), [this] { dispatch(EventCode::BUTTON_A16A_ON); });
    setCloseAction(form5_.get(), [this] { cancelPersonForm(); });
    setCloseAction(form7_.get(), [this] {
        form7_->hide();
        form5_->setEnabled(true);
        form5_->show();
    });
    setCloseAction(form9_.get(), [this] { form9_->ui().BUTTON41->click(); });
    setCloseAction(form3_.get(), [this] { form3_->hide(); });
    setCloseAction(form4_.get(), [this] {
        if (hasHandler(EventCode::BUTTON_A23A_ON)) {
            dispatch(EventCode::BUTTON_A23A_ON);
        } else {
            form4_->hide();
            form2_->show();
        }
    });
    setCloseAction(form6_.get(), [this] { form6_->hide(); });
    for (QWidget* dialog :
         {static_cast<QWidget*>(form8_.get()), static_cast<QWidget*>(form10_.get()),
          static_cast<QWidget*>(form11_.get())}) {
        setCloseAction(dialog, [this, dialog] {
            dialog->hide();
            for (QWidget* form : allForms()) {
                form->setEnabled(true);
            }
        });
    }

    auto connectClose = [this](QWidget* form, auto signalOwner) {
        QObject::connect(signalOwner, &std::remove_pointer_t<decltype(signalOwner)>::closeRequested,
                         [this, form] {
                             if (dispatching_ || ended_) {
                                 return;
                             }
                             if (const auto it = closeActions_.find(form);
                                 it != closeActions_.end() && it->second) {
                                 it->second();
                             }
                             ensureVisibleWindow();
                         });
    };
    connectClose(mainForm_.get(), mainForm_.get());
    connectClose(form2_.get(), form2_.get());
    connectClose(form3_.get(), form3_.get());
    connectClose(form4_.get(), form4_.get());
    connectClose(form5_.get(), form5_.get());
    connectClose(form6_.get(), form6_.get());
    connectClose(form7_.get(), form7_.get());
    connectClose(form8_.get(), form8_.get());
    connectClose(form9_.get(), form9_.get());
    connectClose(form10_.get(), form10_.get());
    connectClose(form11_.get(), form11_.get());
}

} // namespace app
