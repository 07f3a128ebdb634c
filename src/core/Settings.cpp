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
#include <sys/stat.h>
#include <vector>

namespace {

struct Record {
    QString key;
    QString value;
    bool readable = true;
    QString raw;  // an unreadable line as it stands in the file
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

// One field at text[i] the way sequential-file input reads it: quoted (ends at the closing
// quote, which may be lines further on; a doubled quote stands for one) or unquoted (runs to
// the next comma or line end, surrounding blanks dropped).  False for a quote never closed.
bool readField(const QString& text, int& i, QString* field)
{
    const int n = text.size();
    field->clear();
    if (i < n && text[i] == QLatin1Char('"')) {
        for (++i; i < n; ++i) {
            if (text[i] != QLatin1Char('"')) {
                *field += text[i];
            } else if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                *field += QLatin1Char('"');
                ++i;
            } else {
                ++i;
                return true;
            }
        }
        return false;
    }
    const int start = i;
    while (i < n && text[i] != QLatin1Char(',') && !isLineEnd(text[i]))
        ++i;
    *field = text.mid(start, i - start).trimmed();
    return true;
}

// One record from a line start: key, comma, value, then nothing but blanks up to the line end,
// which is consumed.  False when the text there is not such a record.
bool readRecord(const QString& text, int& i, Record* r)
{
    const int n = text.size();
    auto blanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };
    blanks();
    if (!readField(text, i, &r->key))
        return false;
    blanks();
    if (i >= n || text[i] != QLatin1Char(','))
        return false;
    ++i;
    blanks();
    if (!readField(text, i, &r->value))
        return false;
    blanks();
    if (i < n && !isLineEnd(text[i]))
        return false;
    if (i < n && text[i] == QLatin1Char('\r'))
        ++i;
    if (i < n && text[i] == QLatin1Char('\n'))
        ++i;
    return true;
}

// The file's records in order.  A line that holds no readable record (garbage, a quote
// out of place, a key without a value) is kept as it is, as an unreadable record of its own,
// and reading goes on at the next line: one bad line never shifts the keys after it.
std::vector<Record> parseRecords(const QString& text)
{
    std::vector<Record> records;
    const int n = text.size();
    int i = 0;
    while (i < n) {
        int lineEnd = i;
        while (lineEnd < n && !isLineEnd(text[lineEnd]))
            ++lineEnd;
        int next = lineEnd;
        if (next < n && text[next] == QLatin1Char('\r'))
            ++next;
        if (next < n && text[next] == QLatin1Char('\n'))
            ++next;
        if (text.mid(i, lineEnd - i).trimmed().isEmpty()) {
            i = next;
            continue;
        }
        Record r;
        int j = i;
        if (readRecord(text, j, &r)) {
            records.push_back(std::move(r));
            i = j;
        } else {
            Record bad;
            bad.readable = false;
            bad.raw = text.mid(i, lineEnd - i);
            records.push_back(std::move(bad));
            i = next;
        }
    }
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
        out += (r.readable ? quoted(r.key) + QLatin1Char(',') + quoted(r.value) : r.raw) + gCrLf;
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
    // The new file keeps the old one's permissions (a temporary file starts private), or gets
    // those of any new file.
    struct stat old {};
    if (::stat(QFile::encodeName(path).constData(), &old) == 0) {
        ::fchmod(tmp.handle(), old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(tmp.handle(), 0666 & ~mask);
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
        if (r.readable && r.key == key)
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
        if (!r.readable) {
            records.push_back(std::move(r));  // kept as it was
        } else if (r.key == key) {
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
