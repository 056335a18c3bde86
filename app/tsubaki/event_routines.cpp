// The event routines: what each form's user actions do. The forms raise the event codes of
// their controls themselves (eventRaised), which go to dispatch(); the backup buttons, the
// link dialog's cancel and "法定相続人を選ぶ" act at once, and closing a form through its frame
// does what the form's close means.
#include "app/tsubaki/tsubaki_app.h"

#include "app/tsubaki/family_handlers.h"
#include "app/tsubaki/legal_handlers.h"
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

#include <type_traits>

namespace app {

void TsubakiApp::connectFormEvents() {
    auto raise = [this](EventCode code) { dispatch(code); };
    QObject::connect(mainForm_.get(), &forms::MainForm::eventRaised, raise);
    QObject::connect(form2_.get(), &forms::Form2::eventRaised, raise);
    QObject::connect(form4_.get(), &forms::Form4::eventRaised, raise);
    QObject::connect(form5_.get(), &forms::Form5::eventRaised, raise);
    QObject::connect(form6_.get(), &forms::Form6::eventRaised, raise);
    QObject::connect(form7_.get(), &forms::Form7::eventRaised, raise);
    QObject::connect(form8_.get(), &forms::Form8::eventRaised, raise);
    QObject::connect(form9_.get(), &forms::Form9::eventRaised, raise);
    QObject::connect(form10_.get(), &forms::Form10::eventRaised, raise);
    QObject::connect(form11_.get(), &forms::Form11::eventRaised, raise);

    QObject::connect(mainForm_.get(), &forms::MainForm::backupRequested, [this] { backUp(); });
    QObject::connect(form2_.get(), &forms::Form2::backupRequested, [this] { backUp(); });
    QObject::connect(form4_.get(), &forms::Form4::backupRequested, [this] { backUp(); });

    // "元に戻す" and "やり直す" act at once.
    QObject::connect(mainForm_.get(), &forms::MainForm::undoRequested, [this] { undo(); });
    QObject::connect(mainForm_.get(), &forms::MainForm::redoRequested, [this] { redo(); });
    QObject::connect(form2_.get(), &forms::Form2::undoRequested, [this] { undo(); });
    QObject::connect(form2_.get(), &forms::Form2::redoRequested, [this] { redo(); });
    QObject::connect(form6_.get(), &forms::Form6::undoRequested, [this] { undo(); });
    QObject::connect(form6_.get(), &forms::Form6::redoRequested, [this] { redo(); });
    QObject::connect(form9_.get(), &forms::Form9::cancelRequested, [this] { cancelLinkDialog(); });
    QObject::connect(form10_.get(), &forms::Form10::legalHeirsRequested,
                     [this] { legalCharts_->chooseLegalHeirs(); });
}

void TsubakiApp::backUp() {
    if (dispatching_ || data_.folder.empty()) {
        return;
    }
    std::string said;
    try {
        const auto made = core::データバックアップ_SUB(data_.folder);
        said = made ? "バックアップしました（" +
                          (made->parent_path().filename() / made->filename()).string() + "）"
                    : "同じ時刻のバックアップがあるので、作りませんでした（１秒おいてください）";
    } catch (const common::FileError& e) {
        common::STOP_SUB(dialogs_, "バックアップできません", e.what());
    }
    mainForm_->showGuidance(said);
    runFamilyOperation(*this, [&said](editing::FamilyEditor& editor) {
        editor.controls().setText(editing::kListGuidance, said);
    });
}

void TsubakiApp::cancelLinkDialog() {
    if (dispatching_) {
        return;
    }
    form9_->hide();
    form5_->setEnabled(true);
    form5_->show();
    form5_->untickLink();
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
    setCloseAction(form9_.get(), [this] { cancelLinkDialog(); });
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
                             showHistory();
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
