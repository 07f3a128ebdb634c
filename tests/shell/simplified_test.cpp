// Simplified mode as a user meets it.  Every window opened from the main window, and the find,
// offsets and options windows, is opened once in each language: a text that differs between the
// two is a string-table text showing its Simplified half (id + 10000); every other text (design
// captions, texts written into the program) is the same in both, so no window mixes a switched
// and an unswitched copy of one text.  Saved choices read the same whichever language wrote them.
#include "contacts/OtherFindFrm.h"
#include "contacts/OtherFrm.h"
#include "core/Globals.h"
#include "core/Settings.h"
#include "core/schema/SchemaCheck.h"
#include "customers/CustomFond.h"
#include "customers/CustomFrom.h"
#include "output/AdjustLabelFrm.h"
#include "platform/strings/Strings.h"
#include "shell/MDIForm1.h"
#include "shell/frmOptions.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"
#include "vendors/FactorFond.h"
#include "vendors/FactorFrm.h"
#include "vendors/VendorList.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <gtest/gtest.h>
#include <cstdlib>
#include <cxxabi.h>
#include <map>
#include <memory>
#include <typeinfo>

namespace {

// The frame of an inner window carries Qt's own menu (restore, move, ...), in Qt's language.
bool InsideInnerWindowFrame(const QObject* o, const QWidget* window)
{
    for (; o && o != window; o = o->parent())
        if (qobject_cast<const QMdiSubWindow*>(o))
            return true;
    return false;
}

// Every text a user can read on the window, as "what: text": captions, titles, tab texts,
// headings, menu items, tips, and the items of the fixed choice lists.
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
        else if (auto* combo = qobject_cast<QComboBox*>(w); combo && !combo->isEditable())
            for (int i = 0; i < combo->count(); ++i)
                add(name + QStringLiteral(" item"), combo->itemText(i));
    }
    for (QAction* a : window->findChildren<QAction*>())
        if (a->isVisible() && !InsideInnerWindowFrame(a, window))
            add(QStringLiteral("menu ") + a->objectName(), a->text());
    return out;
}

// The window's texts, and those of each page of its tabs.
QStringList AllTexts(QWidget* w)
{
    QStringList texts = VisibleTexts(w);
    for (QTabBar* bar : w->findChildren<QTabBar*>()) {
        if (!bar->isVisibleTo(w))
            continue;
        const int was = bar->currentIndex();
        for (int i = 0; i < bar->count(); ++i) {
            bar->setCurrentIndex(i);
            QApplication::processEvents();
            texts += VisibleTexts(w);
        }
        bar->setCurrentIndex(was);
        QApplication::processEvents();
    }
    return texts;
}

// The string table's Traditional texts with their Simplified halves, longest first, for the
// texts whose two halves differ.
std::vector<std::pair<QString, QString>> SwitchingTexts()
{
    std::vector<std::pair<QString, QString>> out;
    for (int id = 1; id < 10000; ++id)
        if (strings::HasResString(id) && strings::HasResString(id + 10000)) {
            const QString t = strings::LoadResString(id), s = strings::LoadResString(id + 10000);
            if (!t.trimmed().isEmpty() && t != s)
                out.emplace_back(t, s);
        }
    std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    return out;
}

// Whether `simplified` is `traditional` with string-table texts switched to their Simplified
// halves: the whole text, or pieces of a text put together from table texts and others (a
// window name before a status text, a folder after a label).
bool IsSwitchedFromTable(const QString& traditional, const QString& simplified)
{
    static const std::vector<std::pair<QString, QString>> table = SwitchingTexts();
    for (const auto& [t, s] : table)
        if (traditional == t)
            return simplified == s;
    // Each table text found in the Traditional text (longest first) may show either half.
    QString pattern;
    qsizetype at = 0;
    while (at < traditional.size()) {
        const auto piece = std::find_if(table.begin(), table.end(), [&](const auto& p) {
            return QStringView(traditional).mid(at).startsWith(p.first);
        });
        if (piece == table.end()) {
            pattern += QRegularExpression::escape(traditional.mid(at, 1));
            ++at;
            continue;
        }
        pattern += QStringLiteral("(?:") + QRegularExpression::escape(piece->first) + u'|' +
                   QRegularExpression::escape(piece->second) + u')';
        at += piece->first.size();
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(simplified).hasMatch();
}

// The window's own class, as its source names it.
std::string ClassName(QWidget* w)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(typeid(*w).name(), nullptr, nullptr, &status),
                                                std::free);
    return status == 0 ? std::string(name.get()) : std::string(typeid(*w).name());
}

class Simplified : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        CheckFactoryTables();
        CheckMemberTable();
    }
    void TearDown() override
    {
        UseLanguage(0);
        CustomerDb::TearDown();
    }

    // Every window a user can open, in the given language, with its texts; all closed again.
    std::map<std::string, QStringList> walk(short offset)
    {
        gDataPath = folder.path();
        testsupport::ScriptedResponder user;
        user.allowUnused();
        for (int i = 0; i < 8; ++i)
            user.answer(ui::Answer::OK);
        auto main = std::make_unique<MDIForm1>();
        main->resize(1400, 950);
        main->show();
        main->SetLanguage(offset);
        main->LoadLanguage();
        using Open = void (MDIForm1::*)();
        const Open opens[] = {
            &MDIForm1::ShowCustomFrom,       &MDIForm1::ShowFactorFrm,      &MDIForm1::ShowPersonnelFrm,
            &MDIForm1::ShowOtherFrm,         &MDIForm1::ShowDevrItemFrm,    &MDIForm1::ShowDipartmant1FRM,
            &MDIForm1::ShowCustomPrintMsgFrm, &MDIForm1::ShowCustomerEmail, &MDIForm1::ShowCustomLabel,
            &MDIForm1::ShowFactoryLabel,     &MDIForm1::ShowMemberBirthdayQuery, &MDIForm1::OpenMemberWindow,
        };
        for (const Open open : opens)
            ((*main).*open)();
        // The find, offsets and options windows.
        std::vector<std::unique_ptr<QWidget>> more;
        more.emplace_back(new CustomFond(CustomFrom::Global()));
        more.emplace_back(new FactorFond(FactorFrm::Global()));
        more.emplace_back(new OtherFindFrm(OtherFrm::Global()));
        more.emplace_back(new AdjustLabelFrm);
        more.emplace_back(new frmOptions);
        for (auto& w : more)
            w->show();
        QApplication::processEvents();

        std::map<std::string, QStringList> out;
        out["MDIForm1"] = VisibleTexts(main.get());
        for (QMdiSubWindow* sub : main->MdiArea->subWindowList())
            out[ClassName(sub->widget())] = AllTexts(sub->widget());
        for (auto& w : more)
            out[ClassName(w.get())] = AllTexts(w.get());
        more.clear();
        main->MdiArea->closeAllSubWindows();
        QApplication::processEvents();
        main.reset();
        QApplication::processEvents();
        return out;
    }
};

}  // namespace

TEST_F(Simplified, OnlyStringTableTextsSwitchInEveryWindow)
{
    const auto traditional = walk(0);
    const auto simplified = walk(10000);
    QStringList names;
    for (const auto& [window, texts] : traditional)
        names << QString::fromStdString(window);
    ASSERT_GE(traditional.size(), 17u) << names.join(u' ').toStdString();
    ASSERT_EQ(simplified.size(), traditional.size());
    int switched = 0;
    for (const auto& [window, tw] : traditional) {
        SCOPED_TRACE(window);
        ASSERT_TRUE(simplified.count(window));
        const QStringList& cn = simplified.at(window);
        ASSERT_EQ(cn.size(), tw.size()) << tw.join(u'\n').toStdString() << "\n----\n" << cn.join(u'\n').toStdString();
        QStringList wrong;
        for (qsizetype i = 0; i < tw.size(); ++i) {
            const QString what = tw[i].section(QStringLiteral(": "), 0, 0);
            const QString t = tw[i].section(QStringLiteral(": "), 1), s = cn[i].section(QStringLiteral(": "), 1);
            if (t == s)
                continue;
            if (IsSwitchedFromTable(t, s))
                ++switched;
            else
                wrong << what + QStringLiteral(": ") + t + QStringLiteral(" -> ") + s;
        }
        EXPECT_TRUE(wrong.isEmpty()) << "texts that switch without a string id:\n" << wrong.join(u'\n').toStdString();
    }
    EXPECT_GT(switched, 100);
}

// What the Parts name: the captions with an id switch, the design captions and the texts written
// into the program stay as they are, in the same window.
TEST_F(Simplified, DesignCaptionsStayBesideSwitchedOnes)
{
    const auto cn = walk(10000);
    const auto has = [&](const char* window, const char* text) {
        for (const QString& t : cn.at(window))
            if (t.section(QStringLiteral(": "), 1) == QString::fromUtf8(text))
                return true;
        return false;
    };
    const std::pair<const char*, const char*> shown[] = {
        {"MDIForm1", "會員"}, {"MDIForm1", "報表"}, {"MDIForm1", "離開"}, {"MDIForm1", "技術支援"},
        {"MDIForm1", "狀態:"}, {"MDIForm1", "客戶批次發信"}, {"MDIForm1", "客户"}, {"MDIForm1", "工具(&T)"},
        {"PersonnelFrm", "其他資料"}, {"FactorFrm", "新增(&N)"},
        {"FactorFrm", "結帳日"}, {"FactorFrm", "付款票期"}, {"FactorFrm", "最後交易日"}, {"FactorFrm", "傳真"},
        {"FactorFrm", "印前(設計、攝影、分色)"}, {"FactorFrm", "裝裁(裝訂、裁切、摺紙)"}, {"FactorFrm", "次類別"},
        {"DBtable_fm", "會員編號"}, {"DBtable_fm", "狀態:"}, {"DBtable_fm", "新增(&N)"}, {"DBtable_fm", "刪除(&D)"},
        {"FactorFond", "厂商资料查询"}, {"FactorFond", "确定(&Y)"},
    };
    for (const auto& [window, text] : shown)
        EXPECT_TRUE(has(window, text)) << window << " does not show " << text << ":\n"
                                       << cn.at(window).join(u'\n').toStdString();
    const std::pair<const char*, const char*> notShown[] = {
        {"MDIForm1", "会员"}, {"MDIForm1", "客户批次发信"}, {"DBtable_fm", "会员编号"}, {"DBtable_fm", "状态:"},
        {"FactorFrm", "添加(&N)"}, {"FactorFrm", "存盘(&S)"}, {"FactorFrm", "厂商编号"},
    };
    for (const auto& [window, text] : notShown)
        EXPECT_FALSE(has(window, text)) << window << " shows " << text;
}

// Every choice a window keeps from one run to the next is written in the one form its list
// holds, whatever the language shown, and a run in the other language finds it again.
TEST_F(Simplified, SavedChoicesReadTheSameAfterALanguageSwitch)
{
    struct Choice {
        const char* what;
        const char* key;
        const char* section;
        const char* stored;
        std::function<void(MDIForm1&)> choose;
        std::function<bool(MDIForm1&)> found;
    };
    const auto customer = [] { return CustomFrom::Global().data(); };
    const auto vendor = [] { return FactorFrm::Global().data(); };
    const Choice choices[] = {
        {"customer sort", "CustomSort", "Tessarine", "代號",
         [&](MDIForm1& m) {
             m.ShowCustomFrom();
             customer()->Combo1->setCurrentIndex(1);
             emit customer()->Combo1->activated(1);
         },
         [&](MDIForm1& m) {
             m.ShowCustomFrom();
             return customer()->Combo1->currentText() == QStringLiteral("代號");
         }},
        {"vendor sort", "FactoryShowSRT", "Tessarine", "廠商簡稱",
         [&](MDIForm1& m) {
             m.ShowFactorFrm();
             vendor()->Combo1->setCurrentIndex(1);
         },
         [&](MDIForm1& m) {
             m.ShowFactorFrm();
             return VendorSortItems().indexOf(vendor()->Combo1->currentText()) == 1;
         }},
        {"vendors no longer traded with", "已無往來廠商", "Factory", "1",
         [&](MDIForm1& m) {
             m.ShowFactorFrm();
             vendor()->Check1->setChecked(true);
         },
         [&](MDIForm1& m) {
             m.ShowFactorFrm();
             return vendor()->Check1->isChecked();
         }},
        {"vendor view by category", "FactoryShowAllButton", "Factory", "1",
         [&](MDIForm1& m) {
             m.ShowFactorFrm();
             vendor()->Command3[1]->click();
         },
         [&](MDIForm1& m) {
             m.ShowFactorFrm();
             return vendor()->Command3[1]->text() == QStringLiteral("分類顯示");
         }},
    };
    for (const auto& [first, second] : {std::pair<short, short>{10000, 0}, std::pair<short, short>{0, 10000}}) {
        for (const Choice& c : choices) {
            SCOPED_TRACE(std::string(c.what) + (first ? ", written in Simplified" : ", written in Traditional"));
            testsupport::ScriptedResponder user;
            user.allowUnused();
            for (int i = 0; i < 4; ++i)
                user.answer(ui::Answer::OK);
            QFile::remove(folder.file(QStringLiteral("Tessarine.dat")));
            QFile::remove(folder.file(QStringLiteral("Tessarine.new")));
            QFile::remove(folder.file(QStringLiteral("Factory.dat")));
            QFile::remove(folder.file(QStringLiteral("Factory.new")));
            for (const short offset : {first, second}) {
                auto main = std::make_unique<MDIForm1>();
                main->SetLanguage(offset);
                if (offset == first)
                    c.choose(*main);
                else
                    EXPECT_TRUE(c.found(*main));
                main->MdiArea->closeAllSubWindows();
                QApplication::processEvents();
                main.reset();
                QApplication::processEvents();
                EXPECT_EQ(ReadSetting(QString::fromUtf8(c.key), QString::fromUtf8(c.section), 0), QString::fromUtf8(c.stored));
            }
        }
    }
}

// The string table's Simplified half: characters converted, and where the system gives its own
// Simplified wording, that wording.
TEST(SimplifiedTable, EveryTextConvertsAndGivenWordingsStand)
{
    const std::pair<int, const char*> given[] = {{10751, "厂商资料查询"}, {10732, "确定(&Y)"}, {10733, "取消(&C)"}};
    for (const auto& [id, text] : given)
        EXPECT_EQ(strings::LoadResString(id), QString::fromUtf8(text)) << id;
    int differ = 0;
    for (int id = 1; id < 10000; ++id)
        if (strings::HasResString(id)) {
            ASSERT_TRUE(strings::HasResString(id + 10000)) << id;
            differ += strings::LoadResString(id) != strings::LoadResString(id + 10000);
        }
    EXPECT_GT(differ, 200);
}
