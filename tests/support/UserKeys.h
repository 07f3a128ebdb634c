// What a user does at a window under test, sent to the widget that has the focus: text typed as
// key presses (Chinese characters included, one key press each, as a keyboard with an input
// method sends them), single keys, and a click on an entry of a combo box's open drop-down.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

namespace testsupport {

inline void TypeKeys(const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(),
                            c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
}

inline void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    QApplication::processEvents();
}

inline void ClickDropDownEntry(QComboBox* box, int row)
{
    QAbstractItemView* view = box->view();
    ASSERT_TRUE(view->isVisible());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(box->model()->index(row, 0)).center());
    QApplication::processEvents();
    EXPECT_FALSE(view->isVisible());
}

}  // namespace testsupport
