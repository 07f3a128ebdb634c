// The program's application object.  Two things hold for every window because they are done
// here, where every event passes:
// - no exception leaves an event handler: whatever a handler throws is reported in a message box
//   ("發生未預期的錯誤…") and the program goes on with the next event;
// - a box's text cursor follows the focus: a handler that moves the focus while the box is still
//   receiving its own focus event would otherwise leave a cursor drawn (and blinking) in a box
//   that no longer has the focus, or none in the box that has it.
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
