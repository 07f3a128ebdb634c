// The user manual names only what the program shows: every 〔caption〕 in a section of the manual
// is a button, menu item or tab page of the windows that section walks through.
#include "core/Globals.h"
#include "customers/CustomFond.h"
#include "customers/CustomFrom.h"
#include "platform/report/ReportWindow.h"
#include "platform/strings/Strings.h"
#include "shell/MDIForm1.h"
#include "shell/frmOptions.h"
#include "shell/bkmdbfrm.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QRegularExpression>
#include <QTabBar>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

// A caption as the manual writes it: without its access key ("查詢(&F)" is 〔查詢〕).
QString Plain(QString caption)
{
    caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
    caption.remove(u'&');
    return caption.trimmed();
}

void AddCaptions(std::set<QString>& out, const QWidget* window)
{
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>())
        out.insert(Plain(b->text()));
    for (const QAction* a : window->findChildren<QAction*>())
        if (a->isVisible())
            out.insert(Plain(a->text()));
    for (const QTabBar* bar : window->findChildren<QTabBar*>())
        for (int i = 0; i < bar->count(); ++i)
            out.insert(Plain(bar->tabText(i)));
}

// The manual's sections by their anchor, each with the 〔captions〕 it names.
std::map<QString, QStringList> ManualSections()
{
    QFile f(QStringLiteral(TESS_SOURCE_DIR "/resources/manual/UserManu/index.html"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(f.readAll());
    std::map<QString, QStringList> out;
    const QRegularExpression section(QStringLiteral("<h2><a name=\"(\\w+)\"></a>(.*?)(?=<h2>|$)"),
                                     QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression caption(QStringLiteral("〔([^〕]*)〕"));
    for (auto s = section.globalMatch(html); s.hasNext();) {
        const auto m = s.next();
        QStringList& names = out[m.captured(1)];
        for (auto c = caption.globalMatch(m.captured(2)); c.hasNext();)
            names << c.next().captured(1);
    }
    return out;
}

class Manual : public testsupport::CustomerDb {};

}  // namespace

TEST_F(Manual, EveryCaptionItNamesIsOnTheWindowsItsSectionUses)
{
    gDataPath = folder.path();
    testsupport::ScriptedResponder user;
    user.answer(ui::Answer::OK);  // the customer window's note on an empty customer table
    MDIForm1 main;
    CustomFrom customers;
    CustomFond find(&customers);
    frmOptions options;
    bkmdbfrm backup;
    report::ReportWindow preview(nullptr, report::Document{});

    std::set<QString> mainWindow, customerWindow, findWindow, optionsWindow, backupWindow, listWindow;
    AddCaptions(mainWindow, &main);
    AddCaptions(customerWindow, &customers);
    AddCaptions(findWindow, &find);
    AddCaptions(optionsWindow, &options);
    AddCaptions(backupWindow, &backup);
    // The list-printing window takes its tab and button captions from the string table; the
    // preview it opens is the report window.
    for (int id : {732, 733, 973, 974, 975, 976})
        listWindow.insert(Plain(strings::LoadResString(id)));
    AddCaptions(listWindow, &preview);

    const std::map<QString, std::vector<const std::set<QString>*>> uses = {
        {"add", {&mainWindow, &customerWindow}},
        {"find", {&customerWindow, &findWindow}},
        {"print", {&mainWindow, &listWindow}},
        {"backup", {&mainWindow, &backupWindow, &optionsWindow}},
        {"options", {&mainWindow, &optionsWindow}},
    };
    const auto sections = ManualSections();
    ASSERT_EQ(sections.size(), uses.size());
    for (const auto& [anchor, names] : sections) {
        ASSERT_TRUE(uses.count(anchor)) << anchor.toStdString();
        EXPECT_FALSE(names.isEmpty()) << anchor.toStdString();
        for (const QString& name : names) {
            bool found = false;
            for (const std::set<QString>* window : uses.at(anchor))
                found = found || window->count(name);
            EXPECT_TRUE(found) << "〔" << name.toStdString() << "〕 in section " << anchor.toStdString();
        }
    }
}
