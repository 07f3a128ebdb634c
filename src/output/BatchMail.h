// The batch e-mail without its window: the candidate query with its filter, the contact row
// list held in memory, the questions before sending, and the sending itself with the progress
// strip both mail windows show while a batch runs.
#pragma once

#include "platform/db/Db.h"
#include "platform/mail/Mail.h"

#include <QString>
#include <QVariantList>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;

namespace batchmail {

// The candidate query for a sort entry (0 code, 1 short name, 2 company address, -1 another
// text: short name) and a filter: selector "客戶分類" / "客戶級別" / "客戶簡稱" with a value
// (trimmed; empty or another selector: no filter). The value is a bound parameter.
db::Statement CandidateQuery(int sortEntry, const QString& selector, const QString& value);
// The column behind a filter selector, "" for any other text.
QString FilterColumn(const QString& selector);

// A contact row list (客戶, 聯絡人, e-mail, 客戶分類, 客戶級別) held in memory, holding the rows
// given (each its five values), on the first of them.
db::Recordset NewContactList(const std::vector<QVariantList>& rows = {});

// The line of one contact in the contact e-mail list: short name, a blank, contact name, "-",
// e-mail address.
QString ContactLine(const QString& shortName, const QString& contact, const QString& email);
// The address of a chosen line: the text after its first "-" (trimmed line); none without "-".
std::optional<QString> AddressOfLine(const QString& line);

// The questions on a subject or body that is empty after trimming; false when the user says no.
bool ConfirmSubjectAndBody(const QString& subject, const QString& body);

// A batch's progress in the sending window, shown only while a batch runs: which message of how
// many is being handed over, and a stop button that ends the batch at once, the message being
// handed over included.
class SendProgress : public QWidget {
public:
    explicit SendProgress(QWidget* parent);
    QPushButton* cmdStop = nullptr;
    QLabel* lblProgress = nullptr;

    void Begin(int total);
    void Sending(int number);  // 1-based
    void End();
    bool Running() const { return running_; }
    bool StopPressed() const { return stopPressed_; }
    void cmdStop_Click();
    // What the stop does besides ending the batch before its next message (set by SendAll).
    std::function<void()> onStop;

private:
    int total_ = 0;
    bool running_ = false;
    bool stopPressed_ = false;
};

struct Outcome {
    int sent = 0;          // messages the mail system took
    bool stopped = false;  // the stop ended the batch with messages left
    bool failed = false;   // a message was refused or not handed over
};
// Hands the messages to the mail system one by one under the hourglass; while each is handed
// over and between them the event loop runs, so the window repaints and the stop is taken. The
// first failure ends the batch with "<number> <description>"; a stop ends it at once, the
// message being handed over not counted as sent, and says how many went and how many did not;
// otherwise "傳送完畢".
Outcome SendAll(const std::vector<mail::Message>& messages, mail::Transport& transport, SendProgress& progress);

// Before the program ends: every batch under way is stopped, its mail agent ended and reaped,
// and the user told how many of its messages went and how many did not.
void EndBatchesBeforeExit();

}  // namespace batchmail
