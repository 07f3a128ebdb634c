// Handing e-mail to the user's mail system.
//
// A message is composed as MIME (subject and display name encoded for UTF-8, the body in base64
// with its CR LF line breaks, an attachment as multipart/mixed with an encoded file name). It carries
// no From header: the user's mail agent fills in the sender. The transport hands each message to a
// sendmail-compatible agent (`sendmail -i -- ADDRESS`, the message on standard input), which is
// how msmtp, postfix, exim and the like accept mail from programs.
//
// Every failure is a MailError with a number and a description, shown to the user as
// "<number> <description>". The numbers are the Simple MAPI ones a user of the Windows program
// knows.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QProcess;

namespace mail {

// Error numbers.
enum MailErrorNumber {
    kMailUserAbort = 32001,         // the hand-over was stopped before the agent finished
    kMailFailure = 32002,           // the agent ran and refused the message
    kMailLoginFailure = 32003,      // no mail agent to hand the message to
    kMailAttachmentOpenFailure = 32012,
    kMailUnknownRecipient = 32014,  // no address
    kMailNetworkFailure = 32023,    // the agent did not finish in time
    kMailInvalidRecips = 32025,     // an address that is not one
};

struct MailError {
    int number = 0;
    QString description;
    QString Text() const { return QString::number(number) + QLatin1Char(' ') + description; }
};

struct Message {
    QString recipientName;     // display name; may be empty
    QString recipientAddress;  // one address
    QString subject;           // as typed
    QString body;              // as typed; line breaks are sent as CR LF
    QString attachmentPath;    // empty: none
};

// The address check made before anything is composed or started: one "@" with text on both
// sides, no blank, no control character, not starting with "-". Returns the error, or nothing.
std::optional<MailError> CheckAddress(const QString& address);

// The message as the agent receives it (LF line ends, as a local mail agent expects).
// Throws MailError for a bad address or an attachment that cannot be read.
QByteArray ComposeMessage(const Message& message);

class Transport {
public:
    virtual ~Transport() = default;
    // Sends one message to its one recipient; the error, or nothing on success.
    virtual std::optional<MailError> Send(const Message& message) = 0;
    // Ends the hand-over under way, if any, at once; its Send returns kMailUserAbort.
    virtual void Stop() {}
};

// The agent is the program named by the environment variable TESSARINE_SENDMAIL, else
// /usr/sbin/sendmail. While it runs, the event loop runs: windows repaint and take clicks. An
// agent that has not finished after `timeoutMs` is asked to end, killed after `graceMs` more,
// each time with every process it started, and reaped (error 32023). Stop ends the agent the
// same way without waiting for the time-out, and returns once it is reaped.
class SendmailTransport : public Transport {
public:
    explicit SendmailTransport(QString program = DefaultProgram(), int timeoutMs = 60000, int graceMs = 2000);
    ~SendmailTransport() override;
    std::optional<MailError> Send(const Message& message) override;
    void Stop() override;
    static QString DefaultProgram();

private:
    QString program_;
    int timeoutMs_;
    int graceMs_;
    QProcess* agent_ = nullptr;  // the agent handing over the current message
    bool stopped_ = false;
};

}  // namespace mail
