#include "output/OutputWindows.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "platform/db/Db.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

QLabel* NewTitleBanner(QWidget* window, const QPixmap& picture)
{
    auto* banner = new QLabel(window);
    banner->setPixmap(picture);
    banner->setMaximumHeight(vb::TwipsToPixels(1155));
    return banner;
}

void LayOutLabelWindow(QWidget* window, QLabel* banner, QLayout* content, const std::array<QPushButton*, 4>& buttons)
{
    for (int i = 0; i < 3; ++i)
        buttons[size_t(i)]->setText(LoadResString(840 + i));
    buttons[2]->setToolTip(QStringLiteral("調整列印位置"));
    buttons[3]->setText(QStringLiteral("大宗掛號單"));
    auto* row = new QHBoxLayout;
    for (QPushButton* b : buttons)
        row->addWidget(b);
    row->addStretch();

    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(banner);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 0, 8, 0);
    body->addLayout(content, 1);
    body->addLayout(row);
    layout->addLayout(body, 1);
}

QString CustomerOrderBy(const QString& sortText)
{
    const std::pair<int, const char*> orders[] = {{795, "RV12.RV120"}, {796, "RV12.RV121"}, {797, "RV12.RV128"}};
    for (const auto& [id, column] : orders)
        if (sortText == LoadResString(id))
            return QStringLiteral("Order By ") + QString::fromLatin1(column);
    return {};
}

void ShowDbError(const db::DbError& e)
{
    ui::MsgBox(ErrorText(e));
}
