// The program's application object.  What holds for every window, because it is done
// here, where every event passes:
// - no exception leaves an event handler: whatever a handler throws is reported in a message box
//   ("發生未預期的錯誤…") and the program goes on with the next event;
// - a box's text cursor follows the focus: a handler that moves the focus while the box is still
//   receiving its own focus event would otherwise leave a cursor drawn (and blinking) in a box
//   that no longer has the focus, or none in the box that has it;
// - no key with Alt (AltGr aside) puts text into a box or a list;
// - Tab or Shift+Tab with a drop-down open takes its highlighted entry and moves on.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace ui {

class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// How an error escaping a handler is put to the user (its own text when none is set).
void SetErrorDescriber(std::function<QString(const std::exception&)> describe);

// The message an unexpected error gets, and showing it (never throws).
QString UnexpectedErrorText(const QString& description);
void ReportUnexpectedError(const QString& description);

}  // namespace ui
