// A window as a user finds it when it opens: made, shown, made the active window and waited for
// until it is.
#pragma once

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace testsupport {

template <class Window, class... Args>
std::unique_ptr<Window> ShowActive(Args&&... args)
{
    auto w = std::make_unique<Window>(std::forward<Args>(args)...);
    w->show();
    QApplication::setActiveWindow(w.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    return w;
}

}  // namespace testsupport
