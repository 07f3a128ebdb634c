// Checks of typed texts: e-mail address, business number (統一編號) and identity numbers.
//
// Each returns true when the text passes; on refusal it returns false and leaves a reason in
// `message`, which the caller shows before keeping the focus in the box.  They read nothing
// but the string table and touch no window or database.
#pragma once

#include <QString>

// A well-formed e-mail address.  A blank address gives false with `message` untouched; on
// success `message` is left as it was.
bool IsValidEmail(const QString& address, QString& message);
// The domain part (already upper case) of an address: dotted number or a known top-level domain.
bool CheckEmailDomain(const QString& domain, QString& message);
// One upper-case label compared with the known top-level domains; clears `message` on a match.
bool CheckTopLevelDomain(const QString& label, QString& message);

// Eight-digit business number with its weighted check; `message` untouched on success.
bool IsValidTaxNo(const QString& number, QString& message);

// Taiwan identity number (letter, 1 or 2, eight digits); on success `message` = text 925.
bool IsValidTWID(const QString& id, QString& message);
// Hong Kong identity number (letter, seven digits); on success `message` = "資料正確！".
bool IsValidHKID(const QString& id, QString& message);
// Mainland resident identity number (17 digits and a MOD 11-2 check character);
// `message` untouched on success.
bool IsValidPRCID(const QString& id, QString& message);

// The identity check the setting iDCardNO chooses (0 Taiwan, 1 Hong Kong, 2 mainland, any
// other no check).  True when the number passes; otherwise the validator's reason.
bool CheckIdNumber(int mode, const QString& id, QString& message);
int IdCheckMode();  // Val of the setting iDCardNO (section "Tessarine")
