// The program's look: one style sheet for every window.
#pragma once

#include <QString>

class QWidget;

// The style sheet itself.
QString SkinStyleSheet();
// Gives the window the program's look (Skin1's apply): the sheet is installed once for the
// whole application, so every window, dialog and report preview shares it.
void ApplySkin(QWidget* window);
