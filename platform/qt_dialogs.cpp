#include "platform/qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QString>

namespace platform {

namespace {

QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string s(const QString& text) {
    return text.toUtf8().toStdString();
}

void setIcon(QMessageBox& box, common::Icon icon) {
    switch (icon) {
    case common::Icon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    case common::Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case common::Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case common::Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case common::Icon::None:
        break;
    }
}

} // namespace

common::Answer QtDialogs::message(std::string_view title, std::string_view text,
                                  common::Buttons buttons, common::Icon icon) {
    QMessageBox box(parent_);
    box.setWindowTitle(q(title));
    box.setText(q(text));
    setIcon(box, icon);
    if (buttons == common::Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? common::Answer::Yes : common::Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return common::Answer::Ok;
}

bool QtDialogs::choose(std::string_view title, std::string_view text, std::string_view first,
                       std::string_view second, common::Icon icon) {
    QMessageBox box(parent_);
    box.setWindowTitle(q(title));
    box.setText(q(text));
    setIcon(box, icon);
    QPushButton* go = box.addButton(q(first), QMessageBox::AcceptRole);
    QPushButton* back = box.addButton(q(second), QMessageBox::RejectRole);
    box.setDefaultButton(back);
    box.setEscapeButton(back);
    box.exec();
    return box.clickedButton() == go;
}

std::optional<std::string> QtDialogs::input(std::string_view title, std::string_view prompt,
                                            std::string_view defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, q(title), q(prompt), QLineEdit::Normal, q(defaultText), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return s(text);
}

std::optional<std::string> QtDialogs::openFile(std::string_view title, std::string_view folder,
                                               std::string_view filter) {
    const QString path = QFileDialog::getOpenFileName(parent_, q(title), q(folder), q(filter));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return s(QDir::toNativeSeparators(path));
}

std::optional<std::string> QtDialogs::saveFile(std::string_view title, std::string_view folder,
                                               std::string_view proposedName,
                                               std::string_view filter, bool confirmOverwrite) {
    QString start = q(proposedName);
    if (!folder.empty()) {
        start = QDir(q(folder)).filePath(start);
    }
    QFileDialog::Options options;
    if (!confirmOverwrite) {
        options |= QFileDialog::DontConfirmOverwrite;
    }
    const QString path =
        QFileDialog::getSaveFileName(parent_, q(title), start, q(filter), nullptr, options);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return s(QDir::toNativeSeparators(path));
}

} // namespace platform
