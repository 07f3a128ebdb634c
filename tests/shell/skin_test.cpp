#include "shell/Skin.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

// Sizes the record windows rely on when they place controls at fixed twip sizes.
std::vector<int> Metrics()
{
    QLineEdit edit;
    QPushButton button(QStringLiteral("新增(&N)"));
    QComboBox combo;
    QTableView table;
    std::vector<int> m;
    for (QWidget* w : std::initializer_list<QWidget*>{&edit, &button, &combo, &table})
        w->ensurePolished();
    m.push_back(edit.minimumSizeHint().height());
    m.push_back(edit.sizeHint().height());
    m.push_back(button.sizeHint().width());
    m.push_back(button.sizeHint().height());
    m.push_back(combo.minimumSizeHint().height());
    m.push_back(table.verticalHeader()->minimumSectionSize());
    m.push_back(table.verticalHeader()->defaultSectionSize());
    m.push_back(table.horizontalHeader()->sizeHint().height());
    return m;
}

TEST(Skin, LeavesTheSizesOfCommonControlsAlone)
{
    const QString saved = qApp->styleSheet();
    qApp->setStyleSheet(QString());
    const std::vector<int> plain = Metrics();
    qApp->setStyleSheet(SkinStyleSheet());
    EXPECT_EQ(Metrics(), plain);
    qApp->setStyleSheet(saved);
}

}  // namespace
