#include "core/Settings.h"

#include "core/Globals.h"
#include "core/Paths.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Record {
    QString key;
    QString value;
};

SettingsRenameFn& renameOverride()
{
    static SettingsRenameFn fn;
    return fn;
}

bool realRename(const QString& from, const QString& to, QString* error)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

QString folderFor(int location, const QString& folder)
{
    if (!folder.isEmpty())
        return FolderText(folder);
    if (location == 2 && !gDataPath.isEmpty())
        return FolderText(gDataPath);
    if (!gProgramPath.isEmpty())
        return FolderText(gProgramPath);
    return DefaultProgramFolder();
}

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool isLineEnd(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

// Splits the file's text into fields the way sequential-file input reads them: a field is
// either quoted (ends at the closing quote; a doubled quote stands for one) or unquoted
// (runs to the next comma or line end, surrounding blanks dropped).  Commas and line ends
// both separate fields; blank lines hold no field.
QStringList splitFields(const QString& text)
{
    QStringList fields;
    const int n = text.size();
    int i = 0;
    bool afterComma = false;
    auto skipLineEnd = [&] {
        if (i < n && text[i] == QLatin1Char('\r'))
            ++i;
        if (i < n && text[i] == QLatin1Char('\n'))
            ++i;
    };
    while (i < n) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i >= n)
            break;
        if (isLineEnd(text[i])) {
            if (afterComma) {
                fields << QString();
                afterComma = false;
            }
            skipLineEnd();
            continue;
        }
        QString field;
        if (text[i] == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            while (i < n && text[i] != QLatin1Char(',') && !isLineEnd(text[i]))
                ++i;
        } else {
            const int start = i;
            while (i < n && text[i] != QLatin1Char(',') && !isLineEnd(text[i]))
                ++i;
            field = text.mid(start, i - start).trimmed();
        }
        fields << field;
        afterComma = false;
        if (i < n && text[i] == QLatin1Char(',')) {
            ++i;
            afterComma = true;
        } else {
            skipLineEnd();
        }
    }
    if (afterComma)
        fields << QString();
    return fields;
}

// Records in file order; a dangling key without a value at the end is not a record.
std::vector<Record> parseRecords(const QString& text)
{
    const QStringList fields = splitFields(text);
    std::vector<Record> records;
    for (int i = 0; i + 1 < fields.size(); i += 2)
        records.push_back({fields[i], fields[i + 1]});
    return records;
}

QString quoted(const QString& s)
{
    QString q = s;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString formatRecords(const std::vector<Record>& records)
{
    QString out;
    for (const Record& r : records)
        out += quoted(r.key) + QLatin1Char(',') + quoted(r.value) + gCrLf;
    return out;
}

QString decode(const QByteArray& bytes)
{
    QString text = vb::DecodeText(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// Reads the whole file; false with the reason when it exists and cannot be read.
bool readFile(const QString& path, QString* text, bool* missing, QString* error)
{
    *missing = false;
    if (!QFileInfo(path).isFile()) {
        *missing = !QFileInfo::exists(path);
        if (!*missing) {
            *error = QStringLiteral("%1: not a file").arg(path);
            return false;
        }
        return true;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = f.errorString();
        return false;
    }
    *text = decode(f.readAll());
    return true;
}

bool writePlain(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        *error = f.errorString();
        return false;
    }
    f.close();
    if (f.error() != QFileDevice::NoError) {
        *error = f.errorString();
        return false;
    }
    return true;
}

// Writes the bytes beside the target under a temporary name, then renames it over the target,
// so the target holds either its old or its new content, never a part of either.
bool writeReplacing(const QString& path, const QByteArray& bytes, QString* error)
{
    const QFileInfo info(path);
    QTemporaryFile tmp(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!tmp.open()) {
        *error = tmp.errorString();
        return false;
    }
    if (tmp.write(bytes) != bytes.size() || !tmp.flush()) {
        *error = tmp.errorString();
        return false;
    }
    tmp.close();
    const SettingsRenameFn& rename = renameOverride();
    const bool ok = rename ? rename(tmp.fileName(), path, error) : realRename(tmp.fileName(), path, error);
    if (ok)
        tmp.setAutoRemove(false);
    return ok;
}

enum class Outcome { Done, Abort, Ignore };

// Runs one step of a write; on an error asks Abort / Retry / Ignore.
template <class Fn>
Outcome runStep(Fn step)
{
    for (;;) {
        QString error;
        if (step(&error))
            return Outcome::Done;
        const ui::Answer a = ui::MsgBox(error, ui::Buttons::AbortRetryIgnore, ui::Icon::None,
                                        QStringLiteral("環境設定"));
        if (a == ui::Answer::Retry)
            continue;
        return a == ui::Answer::Ignore ? Outcome::Ignore : Outcome::Abort;
    }
}

}  // namespace

void SetSettingsRenameForTest(SettingsRenameFn rename)
{
    renameOverride() = std::move(rename);
}

QString SettingsFilePath(const QString& section, int location, const QString& folder)
{
    return ResolveFileNoCase(folderFor(location, folder), section + QStringLiteral(".dat"));
}

QString ReadSetting(const QString& key, const QString& section, int location, const QString& folder)
{
    const QString path = SettingsFilePath(section, location, folder);
    QString text;
    bool missing = false;
    QString error;
    if (!readFile(path, &text, &missing, &error) || missing)
        return {};
    for (const Record& r : parseRecords(text)) {
        if (r.key == key)
            return vb::Trim(r.value);
    }
    return {};
}

void WriteSetting(const QString& key, const QString& value, const QString& section, int location,
                  const QString& folder)
{
    const QString dir = folderFor(location, folder);
    const QString datPath = ResolveFileNoCase(dir, section + QStringLiteral(".dat"));
    const QString newPath = ResolveFileNoCase(dir, section + QStringLiteral(".new"));

    QString text;
    bool missing = false;
    // Without the old content nothing can be written safely: Ignore leaves the file as it is.
    if (runStep([&](QString* e) { return readFile(datPath, &text, &missing, e); }) != Outcome::Done)
        return;

    std::vector<Record> records;
    bool found = false;
    for (Record& r : parseRecords(text)) {
        if (r.key == key) {
            found = true;
            records.push_back({r.key, value});
        } else if (!vb::Trim(r.key).isEmpty()) {
            records.push_back(std::move(r));
        }
    }
    if (!found)
        records.push_back({key, value});
    const QByteArray bytes = formatRecords(records).toUtf8();

    if (found) {
        if (runStep([&](QString* e) { return writePlain(newPath, bytes, e); }) == Outcome::Abort)
            return;
    }
    if (runStep([&](QString* e) { return writeReplacing(datPath, bytes, e); }) == Outcome::Abort)
        return;
    if (!found && QFileInfo::exists(newPath))
        QFile::remove(newPath);
}

bool FileExists(const QString& path)
{
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return false;
    QString real = path;
    if (!QFileInfo(path).isFile()) {
        const QFileInfo info(path);
        real = FindFileNoCase(info.path(), info.fileName());
        if (real.isEmpty())
            return false;
    }
    const QFileInfo info(real);
    return info.isFile() && !info.isHidden();
}
