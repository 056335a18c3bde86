#include "platform/qt_dialogs.h"

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

// A dialog rather than a message box, so that a long text (one line per finding) keeps its
// lines whole and scrolls instead of growing past the screen.
bool QtDialogs::choose(std::string_view title, std::string_view text, std::string_view first,
                       std::string_view second, common::Icon icon) {
    QDialog box(parent_);
    box.setWindowTitle(q(title));
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
    auto* view = new QPlainTextEdit(q(text));
    view->setReadOnly(true);
    view->setFrameShape(QFrame::NoFrame);
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view->viewport()->setAutoFillBackground(false);
    // As wide as the longest line and as tall as the text, within a sensible size.
    const QFontMetrics metrics(view->font());
    const QStringList lines = q(text).split(QLatin1Char('\n'));
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
    QPushButton* go = buttons->addButton(q(first), QDialogButtonBox::AcceptRole);
    QPushButton* back = buttons->addButton(q(second), QDialogButtonBox::RejectRole);
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
