// The program's own two-button box (QtDialogs::choose), answered through its real buttons
// while it waits: the first caption is the only way to a yes, and a long text keeps its
// lines whole and scrolls inside a box of bounded size.
#include "platform/qt_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs `act` on the modal box once it waits for an answer, then returns choose's answer.
bool chooseWith(const std::string& text, const std::function<void(QWidget&)>& act) {
    platform::QtDialogs dialogs;
    QTimer waiting;
    waiting.setSingleShot(true);
    QObject::connect(&waiting, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr) {
            waiting.start(10);
            return;
        }
        act(*box);
    });
    waiting.start(0);
    return dialogs.choose("作図前の確認", text, "このまま作図", "戻って直す",
                          common::Icon::Exclamation);
}

QAbstractButton* button(QWidget& box, const char* caption) {
    for (QAbstractButton* b : box.findChild<QDialogButtonBox*>()->buttons()) {
        if (b->text() == QString::fromUtf8(caption)) {
            return b;
        }
    }
    ADD_FAILURE() << "no button " << caption;
    return nullptr;
}

TEST(QtDialogsChoose, OnlyTheFirstCaptionSaysYes) {
    EXPECT_TRUE(
        chooseWith("誤り：一つ", [](QWidget& box) { button(box, "このまま作図")->click(); }));
    EXPECT_FALSE(
        chooseWith("誤り：一つ", [](QWidget& box) { button(box, "戻って直す")->click(); }));
    // Enter takes the default, "戻って直す"; Escape and closing the box go back as well.
    for (const int key : {Qt::Key_Return, Qt::Key_Escape}) {
        EXPECT_FALSE(chooseWith("誤り：一つ", [key](QWidget& box) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(
                QApplication::focusWidget() ? QApplication::focusWidget() : &box, &press);
        })) << key;
    }
    EXPECT_FALSE(chooseWith("誤り：一つ", [](QWidget& box) { box.close(); }));
}

TEST(QtDialogsChoose, ALongListScrollsWithinTheBox) {
    std::string text = "法務局に受け付けられない誤りが 60 件あります。\n";
    for (int i = 1; i <= 60; ++i) {
        text += "\n誤り：当事者NO." + std::to_string(i) + " の生年月日は日付として読めません";
    }
    int height = 0;
    bool scrolls = false;
    QString shown;
    chooseWith(text, [&](QWidget& box) {
        height = box.sizeHint().height();
        auto* view = box.findChild<QPlainTextEdit*>();
        shown = view->toPlainText();
        scrolls = view->verticalScrollBar()->maximum() > 0;
        button(box, "戻って直す")->click();
    });
    EXPECT_EQ(shown.toStdString(), text);
    EXPECT_TRUE(scrolls);
    EXPECT_LT(height, 600);
}

} // namespace
