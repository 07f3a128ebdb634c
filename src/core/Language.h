// The program's own texts in the language in use: Traditional, or Simplified in Simplified mode.
// Texts of the string table come in either language by their id; texts written into the source
// (captions, messages, menu items the string table has no line for) are shown converted here.
#pragma once

#include <QString>

class QWidget;

// A text of the program as the language in use shows it.
QString LocalText(const QString& text);
// Puts the captions, titles, tab texts, headings, menu items and tips of a window (its controls
// too when `deep`) into the language in use.  Typed data (boxes, lists) is left alone.
void LocalizeTexts(QWidget* widget, bool deep = true);
// Whether a caption shows the given text of the program, in either language.
bool CaptionIs(const QString& caption, const QString& text);
