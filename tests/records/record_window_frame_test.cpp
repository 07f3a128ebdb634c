// The frame a record window shares: the unload runs once however the window is closed, and not
// at all when its load failed; a window that asks for it is maximised after its first show at
// the design size, laid out for the maximised size, and restored to the design size.
#include "platform/text/VbText.h"
#include "records/RecordWindow.h"
#include "support/RecordingSink.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

namespace {

constexpr int kDesignWidth = 6000, kDesignHeight = 4500;  // twips, frame included

class ProbeWindow : public RecordWindow {
public:
    struct Choices {
        bool maximise = false;
        bool failLoad = false;
    };
    explicit ProbeWindow(Choices c) : RecordWindow(nullptr, kDesignWidth, kDesignHeight)
    {
        if (c.maximise)
            MaximiseAfterFirstShow();
        if (c.failLoad)
            FailLoad();
    }
    void Form_Activate() override { ++activations; }

    int activations = 0;
    int unloads = 0;
    QSize laidOutFor;  // the size of the last layout

protected:
    void Form_Resize() override { laidOutFor = size(); }
    void Form_Unload() override { ++unloads; }
};

class RecordWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        area.resize(1000, 800);
        area.show();
        sink.area = &area;
    }

    QMdiSubWindow* open(ProbeWindow* w)
    {
        QMdiSubWindow* sub = area.addSubWindow(w);
        sub->show();
        QApplication::processEvents();
        return sub;
    }

    testsupport::RecordingSink sink;
    QMdiArea area;
};

}  // namespace

// However often and by whichever way the window is closed, its unload runs once; a window whose
// load failed is unloaded already, so no close runs the unload again.
TEST_F(RecordWindowTest, UnloadRunsOnceAndNeverAfterAFailedLoad)
{
    enum class Close { Window, Frame };
    struct Case {
        bool failLoad;
        Close first, second;
        bool loaded;
        int unloads;
    };
    const Case cases[] = {
        {false, Close::Window, Close::Window, true, 1},
        {false, Close::Frame, Close::Window, true, 1},
        {true, Close::Window, Close::Frame, false, 0},
        {true, Close::Frame, Close::Window, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "failLoad " << c.failLoad << ", first by the "
                                        << (c.first == Close::Frame ? "frame" : "window"));
        auto* w = new ProbeWindow({.failLoad = c.failLoad});
        EXPECT_EQ(w->Loaded(), c.loaded);
        QMdiSubWindow* sub = open(w);
        for (Close how : {c.first, c.second}) {
            if (how == Close::Frame)
                sub->close();
            else
                w->close();
            QApplication::processEvents();
        }
        EXPECT_EQ(w->unloads, c.unloads);
        EXPECT_EQ(w->Loaded(), c.loaded);
        delete sub;
    }
}

// Asked for, the frame is maximised after the first show and the controls are laid out for the
// maximised size; restoring gives the design size, and a later show does not maximise again.
// Not asked for, the frame keeps the design size.
TEST_F(RecordWindowTest, MaximisesAfterTheFirstShowAtTheDesignSizeWhenAsked)
{
    const QSize design(vb::Px(kDesignWidth), vb::Px(kDesignHeight));
    for (bool maximise : {true, false}) {
        SCOPED_TRACE(maximise ? "maximised" : "at the design size");
        auto* w = new ProbeWindow({.maximise = maximise});
        QMdiSubWindow* sub = open(w);
        EXPECT_TRUE(w->FirstShown());
        EXPECT_EQ(w->activations, 1);
        EXPECT_EQ(sub->isMaximized(), maximise);
        EXPECT_EQ(w->laidOutFor, w->size());
        if (maximise) {
            EXPECT_GT(w->width(), design.width());
            EXPECT_GT(w->height(), design.height());
            sub->showNormal();
            QApplication::processEvents();
        }
        EXPECT_EQ(sub->size(), design);
        EXPECT_EQ(w->laidOutFor, w->size());

        sub->hide();
        sub->show();
        QApplication::processEvents();
        EXPECT_FALSE(sub->isMaximized());
        EXPECT_EQ(sub->size(), design);
        delete sub;
    }
}
