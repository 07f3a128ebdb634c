// Dates typed into a record window: the masked date box laid over a date box while it is
// edited, and the one reading of a typed or stored date, each window saying which forms it
// takes (DateForm).
//
//     DateMaskTXT = new MaskedDateBox(page);                 // "____/__/__", hidden
//     DateMaskTXT->Cover(box, date ? DateText(*date) : ""); // over the box, focused
//     if (DateMaskTXT->Blank()) ...                          // left with nothing typed
//     const auto date = ReadDate(DateMaskTXT->Typed(), kBirthdayForm);
#pragma once

#include <QDate>
#include <QLineEdit>
#include <QString>
#include <optional>

// Which dates a window reads: a four-digit year, a month and a day (one or two digits each)
// with the same separator between them, one of `separators`; a real calendar date ("2004/2/30"
// is none) in `firstYear` or later.  The age hint counts from `firstAgeYear` on.
struct DateForm {
    QString separators;
    int firstYear = 1;
    int firstAgeYear = 1;
};

// The date a text holds in that form, blanks around it ignored; nullopt when it holds none.
std::optional<QDate> ReadDate(const QString& text, const DateForm& form);
// The stored form of a date: "yyyy/mm/dd".
QString DateText(const QDate& date);
// The hover help of a date box: the age in years ("(this year - year) 歲") for a date whose
// year is the form's firstAgeYear or later, otherwise DateFormatTip().
QString AgeTip(const QString& text, const DateForm& form, const QDate& today);
// "日期輸入格式 [yyyy/mm/dd], 西元= 民國 + 1911 , 例如 民國 93 年+ 1911=2004年"
QString DateFormatTip();

// The masked date box: digits only, "_" for a place not typed, "____/__/__" when empty.  It is
// hidden until Cover lays it over a date box; the window handles its events.
class MaskedDateBox : public QLineEdit {
public:
    explicit MaskedDateBox(QWidget* parent);
    // Laid exactly over `box` holding `date` ("" for the empty mask), not modified, shown in
    // front and given the focus.
    void Cover(QWidget* box, const QString& date);
    bool Blank() const;     // the empty mask
    QString Typed() const;  // what is typed, without the "_" places ("" for the empty mask)
};
