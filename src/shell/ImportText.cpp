#include "shell/ImportText.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "core/numbering/Numbering.h"
#include "platform/text/VbText.h"

#include <QFile>
#include <utility>

namespace textimport {

namespace {

struct Caption {
    const char* column;
    const char* caption;
};

const Caption kCaptions[] = {
    {"RV120", "客戶代號"},  {"RV121", "客戶簡稱"},   {"客戶全銜", "客戶全銜"}, {"RV123", "電話"},
    {"RV124", "傳真"},      {"RV125", "郵遞區號"},   {"RV126", "負責人"},     {"RV127", "統一編號"},
    {"RV128", "公司地址"},  {"RV129", "發票地址"},   {"RV1210", "業務"},      {"RV1211", "應收帳款"},
    {"RV1212", "結帳日"},   {"RV1213", "備註說明"},  {"RV1214", "請款方式"},  {"RV1217", "網址"},
};

bool IsNumericType(int type)
{
    return type == db::adSmallInt || type == db::adInteger || type == db::adSingle || type == db::adCurrency
           || type == db::adBoolean;
}

// A failure of the run that is not the database's own.
class ImportError : public std::runtime_error {
public:
    explicit ImportError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    QString text() const { return text_; }

private:
    QString text_;
};

[[noreturn]] void MissingField()
{
    throw db::DbError(3265, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
}


}  // namespace

QString CheangChineseName(const QString& name)
{
    const QString upper = vb::UCase(name);
    for (const Caption& c : kCaptions)
        if (upper == QString::fromUtf8(c.column))
            return QString::fromUtf8(c.caption);
    return name;
}

int FieldWidth(int adoType, int definedSize)
{
    switch (adoType) {
    case db::adDate:
        return 10;
    case db::adSmallInt:
    case db::adInteger:
    case db::adSingle:
    case db::adCurrency:
        return 8;
    case db::adBoolean:
        return 0;
    case db::adLongVarWChar:
        return 255;
    case db::adDouble:
        return 8;  // the provider's defined size of a double
    case db::adUnsignedTinyInt:
        return 1;
    default:
        return definedSize;
    }
}

QVector<ImportField> GetFields(db::Connection& conn, const QString& table)
{
    // A forward-only read: the field list needs no row of a long table.
    db::Recordset rs = conn.ExecuteQuery(QStringLiteral("SELECT *FROM ") + table);
    QVector<ImportField> fields;
    fields.reserve(rs.FieldCount());
    for (int i = 0; i < rs.FieldCount(); ++i) {
        ImportField f;
        f.name = rs.FieldName(i);
        f.type = rs.FieldType(i);
        f.caption = CheangChineseName(f.name);
        f.width = FieldWidth(f.type, rs.FieldSize(i));
        fields.push_back(f);
    }
    rs.Close();
    return fields;
}

QString PreviewTable(const QString& target)
{
    if (target == QStringLiteral("客戶資料管理"))
        return QStringLiteral("RV12");
    if (target == QStringLiteral("廠商資料管理"))
        return QStringLiteral("RV11");
    if (target == QStringLiteral("員工資料管理"))
        return QStringLiteral("RV17A");
    return {};
}

QString RunTable(const QString& target)
{
    const QString table = PreviewTable(target);
    return table == QStringLiteral("RV17A") ? QString() : table;
}

QString DelimiterOf(const QString& choice)
{
    if (choice == QStringLiteral("<space>"))
        return QStringLiteral(" ");
    if (choice == QStringLiteral("<tab>"))
        return QStringLiteral("\t");
    return choice;
}

QStringList SplitLine(const QString& line, const QString& delimiter)
{
    QStringList columns;
    if (delimiter.isEmpty()) {
        if (!line.isEmpty())
            columns << line;
        return columns;
    }
    qsizetype from = 0;
    while (from < line.size()) {
        const qsizetype p = line.indexOf(delimiter, from);
        if (p < 0) {
            columns << line.mid(from);
            break;
        }
        columns << line.mid(from, p - from);
        from = p + delimiter.size();
    }
    return columns;
}

qsizetype CountColumns(const QString& line, const QString& delimiter)
{
    if (line.isEmpty())
        return 0;
    if (delimiter.isEmpty())
        return 1;
    qsizetype columns = 0;
    qsizetype from = 0;
    while (from < line.size()) {
        ++columns;
        const qsizetype p = line.indexOf(delimiter, from);
        if (p < 0)
            break;
        from = p + delimiter.size();
    }
    return columns;
}

std::optional<WideLine> FirstTooWideLine(const QStringList& lines, const QString& delimiter)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype columns = CountColumns(lines[i], delimiter);
        if (columns > kMostPreviewColumns)
            return WideLine{long(i + 1), columns};
    }
    return std::nullopt;
}

QString TooWideLineMessage(const WideLine& wide)
{
    return QStringLiteral("第 %1 行有 %2 個欄位，預覽最多只能對應 %3 個欄位，無法轉換。")
        .arg(wide.line)
        .arg(wide.columns)
        .arg(kMostPreviewColumns);
}

QString GetWord(const QString& text, short& position, short count)
{
    if (count <= 0 || position < 1)
        return {};
    const QString word = vb::LeftBytes(text.mid(position - 1), count);
    position = short(position + word.size());
    return word;
}

QStringList ChooserCaptions(const QVector<ImportField>& fields, const QStringList& taken)
{
    QStringList captions;
    for (qsizetype i = 0; i + 1 < fields.size(); ++i)
        if (!taken.contains(fields[i].caption))
            captions << fields[i].caption;
    return captions;
}

short GetFieldID(const QVector<ImportField>& fields, const QString& caption)
{
    for (qsizetype i = 0; i + 1 < fields.size(); ++i)
        if (fields[i].caption == caption)
            return short(i);
    return 1000;
}

TextLines SplitTextLines(const QByteArray& bytes, const Progress& progress)
{
    TextLines out;
    const bool utf8File = vb::IsValidUtf8(bytes);
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype at = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;  // a byte-order mark
    long lineNo = 0;
    while (at < n) {
        qsizetype end = at;
        bool ascii = true;
        while (end < n && data[end] != '\n' && data[end] != '\r') {
            ascii = ascii && quint8(data[end]) < 0x80;
            ++end;
        }
        const QByteArray line = QByteArray::fromRawData(data + at, end - at);
        ++lineNo;
        if (ascii) {
            out.lines << QString::fromLatin1(line);
        } else if (utf8File || vb::IsValidUtf8(line)) {
            out.lines << QString::fromUtf8(line);
        } else if (std::optional<QString> text = vb::FromCp950Exact(line)) {
            out.lines << *text;
        } else {
            out.status = TextLines::BadLine;
            out.badLine = lineNo;
            out.lines.clear();
            return out;
        }
        at = end;
        if (at < n)
            at += (data[at] == '\r' && at + 1 < n && data[at + 1] == '\n') ? 2 : 1;
        if (progress && lineNo % 2048 == 0 && !progress(at, n)) {
            out.status = TextLines::Cancelled;
            out.lines.clear();
            return out;
        }
    }
    return out;
}

TextLines ReadTextLines(const QString& path, const Progress& progress)
{
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly)) {
        TextLines out;
        out.status = TextLines::CannotOpen;
        return out;
    }
    return SplitTextLines(f.readAll(), progress);
}

QString BadLineMessage(long line)
{
    return QStringLiteral("第 %1 行的文字既不是 UTF-8 也不是 Big5，無法轉換。").arg(line);
}

ImportOutcome ImportLines(db::Recordset& rs, const QVector<ImportField>& fields, const QStringList& lines,
                          const QString& delimiter, const QStringList& columnCaptions, const Progress& progress)
{
    ImportOutcome out;
    // Where each column goes, settled once: -1 dropped, else the field's index.
    QVector<int> target(columnCaptions.size(), -1);
    QVector<bool> mapped(columnCaptions.size(), false);
    QVector<int> fieldOf(columnCaptions.size(), -1);  // the recordset's field of each mapped column
    for (qsizetype col = 0; col < columnCaptions.size(); ++col) {
        if (vb::Trim(columnCaptions[col]).isEmpty())
            continue;
        mapped[col] = true;
        const short idx = GetFieldID(fields, columnCaptions[col]);
        target[col] = idx == 1000 ? -1 : idx;
        if (target[col] >= 0)
            fieldOf[col] = rs.FieldIndex(fields[target[col]].name);
    }
    const int codeField = rs.FieldIndex(QStringLiteral("RV120"));
    const qint64 total = lines.size();

    bool began = false;
    try {
        gConn.BeginTrans();
        began = true;
        CustomerNumbering numbering(gConn);
        long lineNo = 0;
        for (const QString& line : lines) {
            ++lineNo;
            if (progress && lineNo % 256 == 0 && !progress(lineNo, total)) {
                out.cancelled = true;
                throw ImportError(QStringLiteral("使用者取消轉換"));
            }
            if (line.isEmpty())
                continue;
            const QStringList values = SplitLine(line, delimiter);
            if (values.size() > columnCaptions.size())
                throw ImportError(QStringLiteral("第 %1 行有 %2 個欄位，比預覽的 %3 個欄位多")
                                      .arg(lineNo).arg(values.size()).arg(columnCaptions.size()));
            rs.AddNew();
            for (qsizetype col = 0; col < values.size(); ++col) {
                if (!mapped[col])
                    continue;
                if (target[col] < 0)
                    throw ImportError(QStringLiteral("「%1」不是資料庫的欄位").arg(columnCaptions[col]));
                const ImportField& f = fields[target[col]];
                if (fieldOf[col] < 0)
                    MissingField();
                // Too long: a column a delimiter follows is cut to the width in bytes, the
                // line's last column to the width in characters.
                QString value = values[col];
                if (vb::ByteLen(value) > f.width)
                    value = col + 1 < values.size() ? vb::LeftBytes(value, f.width) : vb::Left(value, f.width);
                if (IsNumericType(f.type))
                    rs.setValue(fieldOf[col], vb::Val(value));
                else
                    rs.setValue(fieldOf[col], value);
            }
            if (codeField < 0)
                MissingField();
            rs.setValue(codeField, numbering.next());
            rs.Update();
            ++out.added;
        }
        if (progress && !progress(total, total)) {
            out.cancelled = true;
            throw ImportError(QStringLiteral("使用者取消轉換"));
        }
        gConn.CommitTrans();
        out.ok = true;
    } catch (const std::exception& e) {
        if (rs.IsOpen() && rs.EditMode() != db::adEditNone) {
            try {
                rs.CancelUpdate();
            } catch (const std::exception&) {
                // The rollback below drops the half-written row anyway; the first error is the one told.
            }
        }
        if (began && gConn.InTransaction())
            gConn.RollbackTrans();
        out.ok = false;
        out.added = 0;
        out.error = ErrorText(e);
    }
    return out;
}

QString ResultMessage(const ImportOutcome& outcome)
{
    return QStringLiteral("新增 %1 筆記錄。失敗%2 筆記錄。").arg(outcome.added).arg(outcome.failed);
}

QString FailureMessage(const QString& error)
{
    return error + QStringLiteral("\n\r請修正後再試一次");
}

}  // namespace textimport
