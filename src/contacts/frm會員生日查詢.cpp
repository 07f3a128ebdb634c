#include "contacts/frm會員生日查詢.h"
#include "core/ErrorText.h"

#include "contacts/MemberBirthday.h"
#include "core/Globals.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {

using vb::Px;

QString Text(const db::Recordset& rs, long row, int field)
{
    if (field < 0)
        return QString();
    const QVariant v = rs.valueAt(row, field);
    return v.isNull() ? QString() : v.toString();
}

// A grid column showing one field of the member table.
MemberBirthdayModel::Column FieldColumn(const QString& caption, int width, const QString& field)
{
    return {caption, width, [field](const db::Recordset& rs, long row) {
                return Text(rs, row, rs.FieldIndex(field));
            }};
}

}  // namespace

// ---- The grid's model ----------------------------------------------------------------------------

MemberBirthdayModel::MemberBirthdayModel(QObject* parent) : QAbstractTableModel(parent)
{
    columns_ = {
        FieldColumn(QStringLiteral("會員編號"), 1000, QStringLiteral("會員編號")),
        FieldColumn(QStringLiteral("中文姓名"), 1200, QStringLiteral("中文姓名")),
        FieldColumn(QStringLiteral("英文文姓名"), 1200, QStringLiteral("英文姓名")),
        {QStringLiteral("出生日期"), 1000,
         [](const db::Recordset& rs, long row) {
             const int year = rs.FieldIndex(QStringLiteral("生日_年"));
             const int monthDay = rs.FieldIndex(QStringLiteral("月日"));
             return MemberBirthDate(year < 0 ? QVariant() : rs.valueAt(row, year),
                                    monthDay < 0 ? QVariant() : rs.valueAt(row, monthDay));
         }},
        FieldColumn(QStringLiteral("性別"), 500, QStringLiteral("性別")),
        FieldColumn(QStringLiteral("電話"), 1000, QStringLiteral("聯絡電話")),
        FieldColumn(QStringLiteral("行動電話"), 1000, QStringLiteral("行動電話")),
    };
}

void MemberBirthdayModel::setRecordset(const db::Recordset& rs)
{
    beginResetModel();
    rs_ = rs;
    rows_ = rs_.IsOpen() ? rs_.RecordCount() : 0;
    endResetModel();
}

int MemberBirthdayModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_);
}

int MemberBirthdayModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant MemberBirthdayModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_)
        return {};
    try {
        return columns_[size_t(index.column())].text(rs_, index.row());
    } catch (const db::DbError&) {
        return {};
    }
}

QVariant MemberBirthdayModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < int(columns_.size()) ? QVariant(columns_[size_t(section)].caption) : QVariant();
    return {};
}

// ---- The window ----------------------------------------------------------------------------------

frm會員生日查詢::frm會員生日查詢(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frm會員生日查詢"));
    setWindowTitle(QStringLiteral("會員生日查詢"));

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(0, 0, Px(8400), Px(600));

    Label1[0] = new QLabel(QStringLiteral("生日區間"), Picture1);
    Label1[0]->setGeometry(Px(120), Px(165), Px(900), Px(270));
    Label1[1] = new QLabel(QStringLiteral("~"), Picture1);
    Label1[1]->setAlignment(Qt::AlignCenter);
    // "~" between the pickers, as wide as the gap between them.
    Label1[1]->setGeometry(Px(2220), Px(165), Px(360), Px(270));
    for (int i = 0; i < 2; ++i) {
        DTPicker1[i] = NewBirthdayPicker(QStringLiteral("DTPicker1_%1").arg(i), 6, 26, Picture1);
        DTPicker1[i]->setGeometry(Px(i == 0 ? 1080 : 2580), Px(120), Px(1140), Px(360));
    }
    const char* captions[2] = {"查詢(&F)", "離開(&X)"};
    for (int i = 0; i < 2; ++i) {
        Command1[i] = new QPushButton(QString::fromUtf8(captions[i]), Picture1);
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        Command1[i]->setGeometry(Px(4080 + i * 1260), Px(90), Px(1140), Px(420));
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }

    DataGrid1 = new QTableView(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid1->setTabKeyNavigation(false);
    DataGrid1->verticalHeader()->setDefaultSectionSize(Px(270));
    Model = new MemberBirthdayModel(this);
    DataGrid1->setModel(Model);
    SetGrid();

    resize(Px(8400), Px(4800));
}

void frm會員生日查詢::SetGrid()
{
    const auto& columns = Model->columns();
    for (int c = 0; c < int(columns.size()); ++c)
        DataGrid1->setColumnWidth(c, Px(columns[size_t(c)].widthTwips));
}

void frm會員生日查詢::會員生日查詢()
{
    const BirthdayCondition where = BirthdayRange(DTPicker1[0]->date(), DTPicker1[1]->date());
    db::Recordset rs;
    try {
        rs.Open(QStringLiteral("Select 會員管理.* From 會員管理") + where.sql, gConn, db::adOpenStatic,
                db::adLockReadOnly, where.params);
    } catch (const db::DbError& e) {
        ui::MsgBox(ErrorDescription(e) + gCrLf + QStringLiteral("錯誤代號: ") + QString::number(e.Number()),
                   ui::Buttons::OK, ui::Icon::Critical);
        return;
    }
    Model->setRecordset(rs);
    SetGrid();
}

void frm會員生日查詢::Command1_Click(int index)
{
    if (index == 0)
        會員生日查詢();
    else if (index == 1)
        close();
}

void frm會員生日查詢::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int top = Picture1->height();
    Picture1->setGeometry(0, 0, width(), top);
    DataGrid1->setGeometry(0, top, width(), std::max(0, height() - top));
}
