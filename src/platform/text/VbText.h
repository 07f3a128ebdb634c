// VB text semantics the windows rely on, in one place.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

namespace vb {

extern const QString gCrLf;  // "\r\n"

QString Trim(const QString& s);   // blanks (U+0020) only
QString LTrim(const QString& s);
QString RTrim(const QString& s);
double Val(const QString& s);     // leading number: "12abc" -> 12, " 1 2" -> 12, "&H1F" -> 31
QString UCase(const QString& s);
QString LCase(const QString& s);
QString Left(const QString& s, int n);
QString Right(const QString& s, int n);
QString Mid(const QString& s, int start1, int length = -1);  // 1-based start

// Length in bytes of code page 950 (a character 950 cannot hold counts 1).
int ByteLen(const QString& s);
// Longest prefix of s whose CP950 byte length is <= maxBytes (never splits a character).
QString LeftBytes(const QString& s, int maxBytes);
QByteArray ToCp950(const QString& s);   // unmappable characters become "?"
QString FromCp950(const QByteArray& bytes);
// The same, refusing bytes that are no character of code page 950: nullopt then.
std::optional<QString> FromCp950Exact(const QByteArray& bytes);
// Decodes bytes as UTF-8 when valid, else as code page 950.
QString DecodeText(const QByteArray& bytes);
bool IsValidUtf8(const QByteArray& bytes);

// VB's Nz, in the two forms the program uses.  Nz gives the value as text, Null (or no value)
// as ""; NzValue keeps the value as it is (a number stays a number) and gives "" for Null.
// A recordset field that may not be readable at all goes through db::Nz / db::NzValue.
QString Nz(const QVariant& v);
QVariant NzValue(const QVariant& v);

// Format for the patterns in use: "yyyy/mm/dd", "YYYYMMDD", "mmdd", "yyyy", "mm", "dd", "hh:nn:ss".
QString Format(const QDate& d, const QString& pattern);
QString Format(const QDateTime& d, const QString& pattern);
// Number yyyymmdd for a date.
int DateNumber(const QDate& d);

// VB CInt/CLng: banker's rounding.
long long CLng(double v);
int CInt(double v);

// 15 twips = 1 pixel at 96 dpi.
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);
// The same, short, for layout code written in twips.
inline int Px(int twips) { return TwipsToPixels(twips); }
inline int Tw(int pixels) { return PixelsToTwips(pixels); }

}  // namespace vb
