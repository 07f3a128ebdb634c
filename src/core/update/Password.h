// The password check with its expiry rules, on the users table 權限主表 (姓名, 密碼, 變更日期
// "YYYY/MM/DD") through gConnAlt.  The window in which a user changes his password is
// 變更密碼Frm.
#pragma once

#include <QString>

// The user's row of the users table by name (first parameter) and password (second).
inline const QString kPasswordRowQuery =
    QStringLiteral("Select 權限主表.* From 權限主表 Where (姓名 = ? ) And (密碼 = ? )");

// True when the user may go on.  No matching row: false, no message.  The supervisor
// "總管家" always passes.  No change date: refused; 61 days or more: refused; 51 to 60 days
// and askToChange: offers the change-password window (true either way).  Database errors
// reach the caller.
bool CheckPassword(QString& userName, QString& password, bool askToChange);
