#include "platform/text/VbText.h"

#include <QStringDecoder>
#include <array>
#include <cerrno>
#include <cmath>
#include <iconv.h>
#include <limits>
#include <mutex>
#include <stdexcept>

namespace vb {

const QString gCrLf = QStringLiteral("\r\n");

// ---- Blanks and case -------------------------------------------------------------------------

QString LTrim(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    return s.mid(i);
}

QString RTrim(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    return s.left(n);
}

QString Trim(const QString& s) { return RTrim(LTrim(s)); }
QString UCase(const QString& s) { return s.toUpper(); }
QString LCase(const QString& s) { return s.toLower(); }

QString Left(const QString& s, int n) { return n <= 0 ? QString() : s.left(n); }
QString Right(const QString& s, int n) { return n <= 0 ? QString() : s.right(n); }

QString Mid(const QString& s, int start1, int length)
{
    if (start1 < 1)
        start1 = 1;
    if (start1 > s.size())
        return {};
    return length < 0 ? s.mid(start1 - 1) : s.mid(start1 - 1, length);
}

// ---- Val -------------------------------------------------------------------------------------

namespace {

bool isValBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// Hex and octal literals: up to 4 digits are a 16-bit Integer, up to 8 a 32-bit Long, both
// signed as VB reads them ("&HFFFF" is -1).
double radixValue(const QString& digits, int radix)
{
    quint64 v = 0;
    int count = 0;
    for (QChar c : digits) {
        int d = -1;
        if (c >= u'0' && c <= u'9')
            d = c.unicode() - u'0';
        else if (radix == 16 && c.toLower() >= u'a' && c.toLower() <= u'f')
            d = c.toLower().unicode() - u'a' + 10;
        if (d < 0 || d >= radix)
            break;
        v = v * radix + d;
        ++count;
        if (v > 0xFFFFFFFFull)
            break;
    }
    if (count == 0)
        return 0;
    if (v <= 0xFFFF && (radix == 16 ? count <= 4 : v <= 0177777))
        return static_cast<qint16>(static_cast<quint16>(v));
    return static_cast<qint32>(static_cast<quint32>(v & 0xFFFFFFFFull));
}

}  // namespace

double Val(const QString& input)
{
    // Blanks, tabs and line breaks are ignored wherever they stand.
    QString s;
    s.reserve(input.size());
    for (QChar c : input)
        if (!isValBlank(c))
            s.append(c);

    if (s.size() >= 2 && s[0] == u'&') {
        const QChar k = s[1].toUpper();
        if (k == u'H')
            return radixValue(s.mid(2), 16);
        if (k == u'O')
            return radixValue(s.mid(2), 8);
        if (k.isDigit())
            return radixValue(s.mid(1), 8);
        return 0;
    }

    QByteArray num;
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
        num.append(static_cast<char>(s[i++].unicode()));
    bool digits = false;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
        num.append(static_cast<char>(s[i++].unicode()));
        digits = true;
    }
    if (i < s.size() && s[i] == u'.') {
        num.append('.');
        ++i;
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
            num.append(static_cast<char>(s[i++].unicode()));
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        QByteArray exp("e");
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == u'-' || s[j] == u'+'))
            exp.append(static_cast<char>(s[j++].unicode()));
        bool expDigits = false;
        while (j < s.size() && s[j] >= u'0' && s[j] <= u'9') {
            exp.append(static_cast<char>(s[j++].unicode()));
            expDigits = true;
        }
        if (expDigits)
            num.append(exp);
    }
    return std::strtod(num.constData(), nullptr);
}

// ---- Code page 950 ---------------------------------------------------------------------------

namespace {

// For every BMP character: its CP950 bytes (high byte 0 for a one-byte character), or 0 when
// the code page has no such character.  Built once through iconv.
struct Cp950Table {
    std::array<quint16, 0x10000> code{};
    Cp950Table()
    {
        iconv_t cd = iconv_open("CP950", "UTF-16LE");
        if (cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv has no CP950 converter");
        for (unsigned u = 1; u < 0x10000; ++u) {
            if (u >= 0xD800 && u <= 0xDFFF)
                continue;
            char in[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
            unsigned char out[8];
            char* ip = in;
            char* op = reinterpret_cast<char*>(out);
            size_t il = 2, ol = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1))
                continue;
            const size_t n = sizeof out - ol;
            if (n == 1)
                code[u] = out[0];
            else if (n == 2)
                code[u] = static_cast<quint16>(out[0] << 8 | out[1]);
        }
        iconv_close(cd);
    }
};

const Cp950Table& cp950()
{
    static const Cp950Table table;
    return table;
}

// Calls f(code) for each character of s: code is the CP950 value, 0 for "cannot hold".
template <typename F>
void forEachCp950(const QString& s, F f)
{
    const Cp950Table* t = nullptr;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c == 0) {
            f(0x100, 1);  // NUL is a byte of its own
            continue;
        }
        if (c < 0x80) {
            f(c, 1);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode())) {
            f(0, 2);
            ++i;
            continue;
        }
        if (!t)
            t = &cp950();
        f(t->code[c], 1);
    }
}

// Bytes of one character in the ANSI code page: 2 for a double-byte character, 1 for one it
// cannot hold ("?"), except that a character needing two UTF-16 units counts 2, as a text
// column counts it.
int CharBytes(quint16 code, int width)
{
    return code > 0xFF && code != 0x100 ? 2 : width;
}

}  // namespace

int ByteLen(const QString& s)
{
    int n = 0;
    forEachCp950(s, [&](quint16 code, int width) { n += CharBytes(code, width); });
    return n;
}

QString LeftBytes(const QString& s, int maxBytes)
{
    int bytes = 0;
    qsizetype units = 0;
    bool full = false;
    forEachCp950(s, [&](quint16 code, int width) {
        if (full)
            return;
        const int b = CharBytes(code, width);
        if (bytes + b > maxBytes) {
            full = true;
            return;
        }
        bytes += b;
        units += width;
    });
    return s.left(units);
}

QByteArray ToCp950(const QString& s)
{
    QByteArray out;
    out.reserve(s.size() * 2);
    forEachCp950(s, [&](quint16 code, int) {
        if (code == 0x100)
            out.append('\0');
        else if (code == 0)
            out.append('?');
        else if (code > 0xFF) {
            out.append(static_cast<char>(code >> 8));
            out.append(static_cast<char>(code & 0xFF));
        } else
            out.append(static_cast<char>(code));
    });
    return out;
}

namespace {

// Code page 950 to text through one converter per thread, kept: a file is decoded a line at a
// time.  A byte the code page cannot read (or a lead byte cut off at the end) becomes U+FFFD,
// or ends the decoding with nullopt when `exact`.
std::optional<QString> DecodeCp950(const QByteArray& bytes, bool exact)
{
    if (bytes.isEmpty())
        return QString();
    struct Converter {
        iconv_t cd = iconv_open("UTF-16LE", "CP950");
        ~Converter()
        {
            if (cd != reinterpret_cast<iconv_t>(-1))
                iconv_close(cd);
        }
    };
    thread_local Converter conv;
    if (conv.cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv has no CP950 converter");
    iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
    QString result;
    result.reserve(bytes.size());
    QByteArray in = bytes;
    char* ip = in.data();
    size_t il = static_cast<size_t>(in.size());
    char buf[4096];
    while (il > 0) {
        char* op = buf;
        size_t ol = sizeof buf;
        const size_t r = iconv(conv.cd, &ip, &il, &op, &ol);
        result.append(QString::fromUtf16(reinterpret_cast<const char16_t*>(buf), (sizeof buf - ol) / 2));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            if (exact)
                return std::nullopt;
            result.append(QChar(QChar::ReplacementCharacter));
            ++ip;
            --il;
            iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return result;
}

}  // namespace

QString FromCp950(const QByteArray& bytes) { return *DecodeCp950(bytes, false); }

std::optional<QString> FromCp950Exact(const QByteArray& bytes) { return DecodeCp950(bytes, true); }

bool IsValidUtf8(const QByteArray& bytes)
{
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = dec(bytes);
    Q_UNUSED(s);
    return !dec.hasError();
}

QString DecodeText(const QByteArray& bytes)
{
    if (IsValidUtf8(bytes)) {
        QStringDecoder dec(QStringDecoder::Utf8);  // drops a leading byte-order mark
        return dec(bytes);
    }
    return FromCp950(bytes);
}

// ---- Values, dates and numbers ---------------------------------------------------------------

QString Nz(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    return v.toString();
}

QVariant NzValue(const QVariant& v)
{
    if (v.isNull())
        return QString();
    return v;
}

QString Format(const QDateTime& dt, const QString& pattern)
{
    const QDate d = dt.date();
    const QTime t = dt.time();
    QString out;
    bool afterHour = false;  // "mm" right after an hour means minutes
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern[i].toLower();
        qsizetype j = i;
        while (j < pattern.size() && pattern[j].toLower() == c)
            ++j;
        const qsizetype run = j - i;
        auto num = [&](int v, int width) { out += QString::number(v).rightJustified(width, u'0'); };
        if (c == u'y') {
            if (run >= 3)
                num(d.year(), 4);
            else
                num(d.year() % 100, 2);
        } else if (c == u'm') {
            if (afterHour)
                num(t.minute(), run >= 2 ? 2 : 1);
            else
                num(d.month(), run >= 2 ? 2 : 1);
        } else if (c == u'd') {
            num(d.day(), run >= 2 ? 2 : 1);
        } else if (c == u'h') {
            num(t.hour(), run >= 2 ? 2 : 1);
        } else if (c == u'n') {
            num(t.minute(), run >= 2 ? 2 : 1);
        } else if (c == u's') {
            num(t.second(), run >= 2 ? 2 : 1);
        } else {
            out += pattern.mid(i, run);
        }
        if (c == u'h')
            afterHour = true;
        else if (c != u':' && c != u' ')
            afterHour = false;
        i = j;
    }
    return out;
}

QString Format(const QDate& d, const QString& pattern) { return Format(QDateTime(d, QTime(0, 0)), pattern); }

int DateNumber(const QDate& d) { return d.isValid() ? d.year() * 10000 + d.month() * 100 + d.day() : 0; }

long long CLng(double v)
{
    const double r = std::nearbyint(v);  // the default rounding mode: half to even
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw std::overflow_error("Overflow");
    return static_cast<long long>(r);
}

int CInt(double v)
{
    const double r = std::nearbyint(v);
    if (!(r >= -32768.0 && r <= 32767.0))
        throw std::overflow_error("Overflow");
    return static_cast<int>(r);
}

int TwipsToPixels(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }
int PixelsToTwips(int pixels) { return pixels * 15; }

}  // namespace vb
