// The main window's writable areas, recorded: status line, status panels, help panel and its
// caption.  Installed for the life of the object; shows inner windows on their own unless a
// test gives it an inner area.
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
    QStringList statusHistory;  // every write of the status line, in order
    bool inUse = true;          // the menu's check mark for the help panel
    QWidget* area = nullptr;    // the inner area windows are centred in
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
    QWidget* clientArea() const override { return area; }
    bool helpPanelInUse() const override { return inUse; }

    // Puts the sink that was there before back while it lives (a real main window writes its
    // own areas), and this one again afterwards.
    class Aside {
    public:
        explicit Aside(RecordingSink& sink) : sink_(sink) { SetStatusSink(sink_.previous_); }
        ~Aside() { SetStatusSink(&sink_); }
        Aside(const Aside&) = delete;
        Aside& operator=(const Aside&) = delete;

    private:
        RecordingSink& sink_;
    };

private:
    StatusSink* previous_;
};

}  // namespace testsupport
