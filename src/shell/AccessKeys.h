// Access keys of the buttons of an inner window: while a record window is active, Alt and a
// letter press its button with that letter before the main menu sees the key, as the buttons of
// a Windows MDI child took them.
#pragma once

#include <QList>

class QAbstractButton;
class QKeyEvent;
class QKeySequence;
class QWidget;

// The buttons inside window (not those of windows it opened) whose access key is key: visible
// and enabled ones, in the window's child order.
QList<QAbstractButton*> AccessKeyButtons(QWidget* window, const QKeySequence& key);

// True when key is an access key (Alt and a letter or digit) of a button inside window.
bool HasAccessKey(QWidget* window, const QKeyEvent* key);

// Acts on an access key as Windows does: one button with the key gets the focus and is clicked,
// unless the control being left keeps the focus (its leave check refused); several buttons with
// the key: the focus moves to the next of them.  False when no button inside window has the key.
bool PressAccessKey(QWidget* window, const QKeyEvent* key);
