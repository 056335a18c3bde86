#include "forms/tsubaki/control_binding.h"

#include "platform/qt_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QWidget>

#include <algorithm>
#include <memory>

using platform::toQString;
using platform::toUtf8;

namespace forms {

namespace {

QStringList qList(const std::vector<std::string>& items) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(items.size()));
    for (const auto& item : items) {
        out.push_back(toQString(item));
    }
    return out;
}

void setChecked(QAbstractButton* button, bool checked) {
    if (button->isChecked() == checked) {
        return;
    }
    if (!checked && button->autoExclusive()) {
        // The checked button of an exclusive group refuses to be cleared directly.
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
        return;
    }
    button->setChecked(checked);
}

// The entries of a list. A list of as many entries as before keeps its entries and only
// changes their texts, so that it stays scrolled where it was: the rows do not move under the
// user's eyes. Inactive entries are shown greyed and cannot be chosen.
void fillList(QListWidget* list, const editing::ControlState& s) {
    const auto count = static_cast<int>(s.items.size());
    if (list->count() != count) {
        list->clear();
        list->addItems(qList(s.items));
    } else {
        for (int i = 0; i < count; ++i) {
            const QString text = toQString(s.items[static_cast<std::size_t>(i)]);
            if (list->item(i)->text() != text) {
                list->item(i)->setText(text);
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        const bool inactive =
            std::find(s.inactiveItems.begin(), s.inactiveItems.end(), i) != s.inactiveItems.end();
        QListWidgetItem* item = list->item(i);
        const Qt::ItemFlags offered = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
        item->setFlags(inactive ? item->flags() & ~offered : item->flags() | offered);
    }
}

void applyWindow(QWidget* form, const editing::ControlState& s) {
    if (s.text) {
        form->setWindowTitle(toQString(*s.text));
    }
    form->setEnabled(s.enabled);
    if (s.visible && !form->isVisible()) {
        form->show();
        form->raise();
        form->activateWindow();
    } else if (!s.visible && form->isVisible()) {
        form->hide();
    }
}

} // namespace

ControlBinding::ControlBinding(QWidget& form, const editing::FamilyControls& controls) {
    for (const auto& [name, state] : controls.all()) {
        if (form.objectName() == toQString(name)) {
            widgets_.emplace(name, &form);
        } else if (auto* w = form.findChild<QWidget*>(toQString(name))) {
            widgets_.emplace(name, w);
        }
    }
}

void ControlBinding::copyIn(editing::FamilyControls& controls) const {
    for (const auto& [name, w] : widgets_) {
        auto& s = controls[name];
        if (w->isWindow()) {
            s.visible = w->isVisible();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (button->isCheckable()) {
                s.checked = button->isChecked();
            }
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            if (s.textInput) {
                s.text = toUtf8(edit->text());
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            s.current = combo->currentIndex();
            if (s.textInput) {
                s.text = toUtf8(combo->currentText());
            }
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            s.current = list->currentRow();
        }
    }
}

void ControlBinding::apply(const editing::FamilyControls& controls) {
    std::vector<std::unique_ptr<QSignalBlocker>> blocked;
    blocked.reserve(widgets_.size());
    for (const auto& [name, w] : widgets_) {
        blocked.push_back(std::make_unique<QSignalBlocker>(w));
    }

    std::vector<std::pair<QWidget*, const editing::ControlState*>> windows;
    for (const auto& [name, w] : widgets_) {
        const auto& s = controls[name];
        if (w->isWindow()) {
            windows.emplace_back(w, &s);
            continue;
        }
        const auto applied = appliedItems_.find(name);
        const bool refill = applied == appliedItems_.end() || applied->second != s.itemsVersion;

        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (s.text) {
                button->setText(toQString(*s.text));
            }
            if (button->isCheckable()) {
                setChecked(button, s.checked);
            }
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            if (s.text) {
                label->setText(toQString(*s.text));
                // A line cut short by the window's width is read whole in its tooltip.
                label->setToolTip(toQString(*s.text));
            }
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            if (s.text && edit->text() != toQString(*s.text)) {
                edit->setText(toQString(*s.text));
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            if (refill) {
                combo->clear();
                combo->addItems(qList(s.items));
                appliedItems_[name] = s.itemsVersion;
            }
            // An editable combo box shows its text; its entries are only offers.
            if (!combo->isEditable() || s.current >= 0) {
                combo->setCurrentIndex(s.current < combo->count() ? s.current : -1);
            }
            if (combo->isEditable() && s.text && combo->currentText() != toQString(*s.text)) {
                combo->setEditText(toQString(*s.text));
            }
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            if (refill) {
                fillList(list, s);
                appliedItems_[name] = s.itemsVersion;
            }
            if (s.current >= 0 && s.current < list->count()) {
                list->setCurrentRow(s.current);
                list->scrollToItem(list->item(s.current));
            } else {
                list->setCurrentRow(-1);
                list->clearSelection();
            }
        }
        w->setEnabled(s.enabled);
        if (qobject_cast<QLabel*>(w) == nullptr) {
            const QString tip = s.enabled ? QString() : toQString(s.whyDisabled);
            if (w->toolTip() != tip) {
                w->setToolTip(tip);
            }
        }
        if (w->isHidden() == s.visible) {
            w->setVisible(s.visible);
        }
    }
    for (const auto& [form, s] : windows) {
        applyWindow(form, *s);
    }
}

} // namespace forms
