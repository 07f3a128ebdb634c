// Keys as the boxes, lists and grids read them.
#pragma once

#include <QKeyEvent>

// Enter: the main keyboard's Return or the keypad's Enter.
inline bool IsEnter(const QKeyEvent* k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }
