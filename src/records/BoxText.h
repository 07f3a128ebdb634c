// How the plain checks and notes of a record window read its boxes without knowing the window:
// a callback giving the text of box n (Text1(n) in the window's numbering).
#pragma once

#include <QString>
#include <functional>

using BoxTextFn = std::function<QString(int box)>;
