// The main window's writable areas, recorded: status line, status panels, help panel and its
// caption.  Installed for the life of the object; shows inner windows on their own.
#pragma once

#include "core/WindowHelpers.h"

#include <QStringList>

namespace testsupport {

class RecordingSink : public StatusSink {
public:
    RecordingSink() : previous_(SetStatusSink(this)) { gStatusText.clear(); }
    ~RecordingSink() override { SetStatusSink(previous_); }
    RecordingSink(const RecordingSink&) = delete;
    RecordingSink& operator=(const RecordingSink&) = delete;

    QString status, help, caption;
    QStringList panels[2];
    QStringList statusHistory;
    void setStatusText(const QString& text) override
    {
        status = text;
        statusHistory << text;
    }
    void setStatusPanel(const QString& text, int index) override { panels[index & 1] << text; }
    void setHelpText(const QString& text) override { help = text; }
    QString helpText() const override { return help; }
    void setHelpCaption(const QString& text) override { caption = text; }
    QString helpCaption() const override { return caption; }
    QWidget* clientArea() const override { return nullptr; }

private:
    StatusSink* previous_;
};

}  // namespace testsupport
