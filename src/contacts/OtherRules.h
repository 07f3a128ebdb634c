// What the personal-contact window checks and where its keys lead, as plain rules: the
// completeness checklist, when 存檔 may be pressed, the birthday's date form, the
// Enter and arrow walks and the texts F3 and F5 append.  The window applies them.
#pragma once

#include "records/BoxText.h"
#include "records/DateBox.h"
#include "records/EntryRules.h"

#include <QString>
#include <functional>
#include <vector>

// The checklist for the help panel: one line per item, each after two CR LF.  Emptiness is
// tested on the untrimmed texts; the telephone and mobile lengths count characters.
QString OtherReportText(bool editing, const BoxTextFn& text);

// 存檔 is usable when the number (box 1) and the Chinese name (box 2) hold more than blanks.
bool OtherSaveAllowed(const BoxTextFn& text);

// The birthday (ReadDate, AgeTip): "/" or "-" between year, month and day, a year from 1000 on;
// the age hint for every birthday read.
inline const DateForm kBirthdayForm{QStringLiteral("/-"), 1000, 1000};

// Enter leaves box 0 for 2, box 1 for 0, any other box for the next, and 18 for 1.
const BoxMap& OtherEnterMap();
// Up: the box before, never below 1; while editing, a move onto the sex box (5) stays put (-1).
int OtherBoxOnUp(int box, bool editing);
// Down: the box after, never above 18.
const BoxMap& OtherDownMap();

// F3 in the addresses appends the address template; F5 in the current address appends the
// registered address.
const std::vector<StockText>& OtherStockTexts();
