#include "shell/AccessKeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>

namespace {

// Alt and a letter or digit, as a key sequence; empty for any other key.
QKeySequence AccessKeyOf(const QKeyEvent* key)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int k = key->key();
    const bool letterOrDigit = (k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9);
    if (mods != Qt::AltModifier || !letterOrDigit)
        return {};
    return QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(k)));
}

}  // namespace

QList<QAbstractButton*> AccessKeyButtons(QWidget* window, const QKeySequence& key)
{
    QList<QAbstractButton*> out;
    if (!window || key.isEmpty())
        return out;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (b->window() != window->window() || !b->isVisible() || !b->isEnabled())
            continue;
        if (QKeySequence::mnemonic(b->text()) == key)
            out << b;
    }
    return out;
}

bool HasAccessKey(QWidget* window, const QKeyEvent* key)
{
    return !AccessKeyButtons(window, AccessKeyOf(key)).isEmpty();
}

bool PressAccessKey(QWidget* window, const QKeyEvent* key)
{
    const QList<QAbstractButton*> buttons = AccessKeyButtons(window, AccessKeyOf(key));
    if (buttons.isEmpty())
        return false;
    if (buttons.size() > 1) {
        const qsizetype at = buttons.indexOf(qobject_cast<QAbstractButton*>(QApplication::focusWidget()));
        buttons[(at + 1) % buttons.size()]->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    QAbstractButton* button = buttons.front();
    if (button->focusPolicy() != Qt::NoFocus) {
        // Leaving the control runs its leave check first, as a click would.
        button->setFocus(Qt::ShortcutFocusReason);
        if (QApplication::focusWidget() != button)
            return true;
    }
    if (button->isVisible() && button->isEnabled())
        button->click();
    return true;
}
