// What the output windows share around their own controls: the title banner, the frame of the
// two label windows (banner, body, and the row of print, exit, offsets and bulk registered-mail
// buttons), the customer sort choices and how a failing statement is told.
#pragma once

#include <QPixmap>
#include <QString>
#include <array>

class QLabel;
class QLayout;
class QPushButton;
class QWidget;

namespace db {
class DbError;
}

// The title picture, no taller than the design's banner.
QLabel* NewTitleBanner(QWidget* window, const QPixmap& picture);

// Lays a label window out: the banner across the top, then within the body's margins the
// content (taking the spare height) and the button row; gives the buttons their captions.
void LayOutLabelWindow(QWidget* window, QLabel* banner, QLayout* content, const std::array<QPushButton*, 4>& buttons);

// The order clause of a customer list for the sort choice as the list shows it (strings 795,
// 796 and 797: code, short name, company address), "Order By RV12.RV120" and so on; "" for
// any other text.
QString CustomerOrderBy(const QString& sortText);

// "<number> <description>" in a message box.
void ShowDbError(const db::DbError& e);
