#include "platform/qt_dialogs.h"

#include "platform/qt_text.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QString>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace platform {

namespace {

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
    box.setWindowTitle(toQString(title));
    box.setText(toQString(text));
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

// A dialog rather than a message box, so that a long text (one line per finding) keeps its
// lines whole and scrolls instead of growing past the screen.
bool QtDialogs::choose(std::string_view title, std::string_view text, std::string_view first,
                       std::string_view second, common::Icon icon) {
    QDialog box(parent_);
    box.setWindowTitle(toQString(title));
    auto* layout = new QVBoxLayout(&box);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    QStyle::StandardPixmap pixmap = QStyle::SP_MessageBoxInformation;
    switch (icon) {
    case common::Icon::Stop:
        pixmap = QStyle::SP_MessageBoxCritical;
        break;
    case common::Icon::Question:
        pixmap = QStyle::SP_MessageBoxQuestion;
        break;
    case common::Icon::Exclamation:
        pixmap = QStyle::SP_MessageBoxWarning;
        break;
    case common::Icon::Information:
    case common::Icon::None:
        break;
    }
    if (icon != common::Icon::None) {
        auto* iconLabel = new QLabel;
        const int extent = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
        iconLabel->setPixmap(box.style()->standardIcon(pixmap).pixmap(extent, extent));
        iconLabel->setAlignment(Qt::AlignTop);
        row->addWidget(iconLabel);
    }
    auto* view = new QPlainTextEdit(toQString(text));
    view->setReadOnly(true);
    view->setFrameShape(QFrame::NoFrame);
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view->viewport()->setAutoFillBackground(false);
    // As wide as the longest line and as tall as the text, within a sensible size.
    const QFontMetrics metrics(view->font());
    const QStringList lines = toQString(text).split(QLatin1Char('\n'));
    int widest = 0;
    for (const QString& line : lines) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const int margin = 2 * (static_cast<int>(view->document()->documentMargin()) + 4);
    view->setMinimumWidth(
        std::min(widest + margin + view->verticalScrollBar()->sizeHint().width(), 760));
    view->setFixedHeight(
        std::min(static_cast<int>(lines.size()) * metrics.lineSpacing() + margin, 420));
    row->addWidget(view, 1);
    auto* buttons = new QDialogButtonBox;
    layout->addWidget(buttons); // in the dialog before the default button is chosen
    QPushButton* go = buttons->addButton(toQString(first), QDialogButtonBox::AcceptRole);
    QPushButton* back = buttons->addButton(toQString(second), QDialogButtonBox::RejectRole);
    // Enter goes back: drawing despite the findings takes a deliberate click.
    go->setAutoDefault(false);
    back->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    back->setFocus();
    return box.exec() == QDialog::Accepted;
}

std::optional<std::string> QtDialogs::input(std::string_view title, std::string_view prompt,
                                            std::string_view defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, toQString(title), toQString(prompt),
                                               QLineEdit::Normal, toQString(defaultText), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return toUtf8(text);
}

std::optional<std::string> QtDialogs::openFile(std::string_view title, std::string_view folder,
                                               std::string_view filter) {
    const QString path = QFileDialog::getOpenFileName(parent_, toQString(title), toQString(folder),
                                                      toQString(filter));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return toUtf8(QDir::toNativeSeparators(path));
}

std::optional<std::string> QtDialogs::saveFile(std::string_view title, std::string_view folder,
                                               std::string_view proposedName,
                                               std::string_view filter, bool confirmOverwrite) {
    QString start = toQString(proposedName);
    if (!folder.empty()) {
        start = QDir(toQString(folder)).filePath(start);
    }
    QFileDialog::Options options;
    if (!confirmOverwrite) {
        options |= QFileDialog::DontConfirmOverwrite;
    }
    const QString path = QFileDialog::getSaveFileName(parent_, toQString(title), start,
                                                      toQString(filter), nullptr, options);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return toUtf8(QDir::toNativeSeparators(path));
}

} // namespace platform
