// The background colours of the entry boxes, the one place every window takes them from: white
// while a box is being typed in, and the colour a window's boxes show otherwise.
//
//     p.setColor(QPalette::Base, focused ? BoxColours::Focused() : BoxColours::Grey());
#pragma once

#include <QColor>

namespace BoxColours {

// A box being typed in.
inline QColor Focused() { return QColor(0xFF, 0xFF, 0xFF); }
// The record windows' boxes out of the focus (customers, vendors, employees), and the vendor
// list while it shows every category.
inline QColor Record() { return QColor(0xE8, 0xE3, 0xD9); }
// The personal contacts' boxes out of the focus.
inline QColor Contact() { return QColor(0xE8, 0xE2, 0xD9); }
// The member window's, the code table window's and the password boxes out of the focus.
inline QColor Grey() { return QColor(0xE0, 0xE0, 0xE0); }

}  // namespace BoxColours
