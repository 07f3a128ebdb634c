// Simplified mode as a user meets it: every window opened from the main window, and the find and
// offsets windows they open, shows no text that still holds a character the Simplified
// conversion would change: captions, titles, tab texts, headings, menu items and tips, whether they come from the string table or are written into the program.
#include "contacts/OtherFindFrm.h"
#include "contacts/OtherFrm.h"
#include "core/Globals.h"
#include "customers/CustomFond.h"
#include "customers/CustomFrom.h"
#include "output/AdjustLabelFrm.h"
#include "platform/strings/Strings.h"
#include "shell/MDIForm1.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"
#include "vendors/FactorFond.h"
#include "vendors/FactorFrm.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <gtest/gtest.h>

namespace {

// Every text a user can read on the window, as "what: text", and on each page of its tabs.
QStringList VisibleTexts(QWidget* window)
{
    QStringList out;
    const auto add = [&](const QString& what, const QString& text) {
        if (!text.isEmpty())
            out << what + QStringLiteral(": ") + text;
    };
    add(QStringLiteral("title"), window->windowTitle());
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        const QString name = QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
        add(name + QStringLiteral(" tip"), w->toolTip());
        if (auto* label = qobject_cast<QLabel*>(w))
            add(name, label->text());
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            add(name, button->text());
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            add(name, group->title());
        else if (auto* bar = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < bar->count(); ++i)
                add(name, bar->tabText(i));
        else if (auto* header = qobject_cast<QHeaderView*>(w); header && header->model())
            for (int i = 0; i < header->count(); ++i)
                add(name, header->model()->headerData(i, header->orientation()).toString());
    }
    for (QAction* a : window->findChildren<QAction*>())
        if (a->isVisible())
            add(QStringLiteral("menu ") + a->objectName(), a->text());
    return out;
}

class Simplified : public testsupport::CustomerDb {
protected:
    void TearDown() override
    {
        gLangOffset = 0;
        CustomerDb::TearDown();
    }
};

}  // namespace

TEST_F(Simplified, EveryWindowShowsOnlySimplifiedTexts)
{
    gDataPath = folder.path();
    testsupport::ScriptedResponder user;
    user.allowUnused();
    for (int i = 0; i < 5; ++i)
        user.answer(ui::Answer::OK);
    MDIForm1 main;
    main.resize(1400, 950);
    main.show();
    main.SetLanguage(10000);
    using Open = void (MDIForm1::*)();
    const Open opens[] = {
        &MDIForm1::ShowCustomFrom,     &MDIForm1::ShowFactorFrm,       &MDIForm1::ShowPersonnelFrm,
        &MDIForm1::ShowOtherFrm,       &MDIForm1::ShowDevrItemFrm,
        &MDIForm1::ShowDipartmant1FRM, &MDIForm1::ShowCustomPrintMsgFrm, &MDIForm1::ShowCustomerEmail,
        &MDIForm1::ShowCustomLabel,    &MDIForm1::ShowFactoryLabel,    &MDIForm1::ShowMemberBirthdayQuery,
    };
    for (const Open open : opens)
        (main.*open)();
    // The find and offsets windows their buttons open.
    std::vector<std::unique_ptr<QWidget>> more;
    more.emplace_back(new CustomFond(CustomFrom::Global()));
    more.emplace_back(new FactorFond(FactorFrm::Global()));
    more.emplace_back(new OtherFindFrm(OtherFrm::Global()));
    more.emplace_back(new AdjustLabelFrm);
    for (auto& w : more)
        w->show();
    QApplication::processEvents();

    std::vector<QWidget*> windows = {&main};
    for (QMdiSubWindow* sub : main.MdiArea->subWindowList())
        windows.push_back(sub->widget());
    for (auto& w : more)
        windows.push_back(w.get());
    ASSERT_GE(windows.size(), 12u);
    for (QWidget* w : windows) {
        QStringList texts = VisibleTexts(w);
        for (QTabBar* bar : w->findChildren<QTabBar*>()) {
            if (!bar->isVisibleTo(w))
                continue;
            for (int i = 0; i < bar->count(); ++i) {
                bar->setCurrentIndex(i);
                QApplication::processEvents();
                texts += VisibleTexts(w);
            }
        }
        QStringList traditional;
        for (const QString& t : texts)
            if (strings::HasTraditionalCharacters(t.section(QStringLiteral(": "), 1)) && !traditional.contains(t))
                traditional << t;
        EXPECT_TRUE(traditional.isEmpty()) << w->metaObject()->className() << " still shows Traditional texts:\n"
                                           << traditional.join(QLatin1Char('\n')).toStdString();
    }
}

// The string table's Simplified half: every text converted, and where the system gives its own
// Simplified wording, that wording (our phrase list ahead of the stock conversion).
TEST(SimplifiedTable, EveryTextConvertsAndGivenWordingsStand)
{
    for (int id = 1; id < 10000; ++id)
        if (strings::HasResString(id))
            EXPECT_FALSE(strings::HasTraditionalCharacters(strings::LoadResString(id + 10000)))
                << id << ": " << strings::LoadResString(id + 10000).toStdString();
    const std::pair<int, const char*> given[] = {{10751, "厂商资料查询"}, {10732, "确定(&Y)"}, {10733, "取消(&C)"}};
    for (const auto& [id, text] : given)
        EXPECT_EQ(strings::LoadResString(id), QString::fromUtf8(text)) << id;
}
