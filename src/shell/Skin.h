// The program's look: one style sheet for every window.
#pragma once

#include <QString>

class QLabel;
class QWidget;

// The style sheet itself.
QString SkinStyleSheet();
// Gives the window the program's look (Skin1's apply): the sheet is installed once for the
// whole application, so every window, dialog and report preview shares it.
void ApplySkin(QWidget* window);
// The banner picture at the top of the tool windows ("Image1"): the main window's title
// picture, scaled to the label's size.
QLabel* NewTitleImage(QWidget* parent);
