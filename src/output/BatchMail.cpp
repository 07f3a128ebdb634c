#include "output/BatchMail.h"

#include "core/Globals.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace batchmail {

namespace {
const char* const kSortColumns[] = {"rv120", "rv121", "rv128"};

// A batch under way, as the program's end sees it.
struct Run {
    mail::Transport* transport = nullptr;
    SendProgress* progress = nullptr;
    int total = 0;
    int sent = 0;
    bool told = false;  // the user has been told how it ended
};
std::vector<Run*> gRuns;

QString StoppedText(int sent, int total)
{
    return LoadResString(2006).arg(sent).arg(total - sent);
}
}

QString FilterColumn(const QString& selector)
{
    if (selector == QStringLiteral("客戶分類"))
        return QStringLiteral("類別");
    if (selector == QStringLiteral("客戶級別"))
        return QStringLiteral("級別");
    if (selector == QStringLiteral("客戶簡稱"))
        return QStringLiteral("RV121");
    return {};
}

db::Statement CandidateQuery(int sortEntry, const QString& selector, const QString& value)
{
    db::Statement q;
    QString filter;
    const QString column = FilterColumn(selector);
    const QString trimmed = vb::Trim(value);
    if (!trimmed.isEmpty() && !column.isEmpty()) {
        filter = QStringLiteral("AND (%1=?) ").arg(column);
        q.params << trimmed;
    }
    const QString sort = QString::fromLatin1(sortEntry >= 0 && sortEntry < 3 ? kSortColumns[sortEntry] : "rv121");
    q.sql = QStringLiteral("Select RV121,級別,類別,rv12a1,rv12a6  From RV12,RV12A Where (RV12.RV120=RV12A.RV12A0) ")
            + filter + QStringLiteral(" Order by  ") + sort;
    return q;
}

db::Recordset NewContactList(const std::vector<QVariantList>& rows)
{
    db::Recordset rs;
    rs.Append(QStringLiteral("客戶"), db::adVarWChar, 25);
    rs.Append(QStringLiteral("聯絡人"), db::adVarWChar, 25);
    rs.Append(QStringLiteral("e-mail"), db::adVarWChar, 100);
    rs.Append(QStringLiteral("客戶分類"), db::adVarWChar, 25);
    rs.Append(QStringLiteral("客戶級別"), db::adVarWChar, 25);
    rs.Open();
    for (const QVariantList& row : rows) {
        rs.AddNew();
        for (int i = 0; i < row.size(); ++i)
            rs.setValue(i, row[i]);
        rs.Update();
    }
    if (!rows.empty())
        rs.MoveFirst();
    return rs;
}

bool ConfirmSubjectAndBody(const QString& subject, const QString& body)
{
    if (vb::Trim(subject).isEmpty()
        && ui::MsgBox(QStringLiteral("這封信沒有主旨,是否仍要發出? "), ui::Buttons::YesNo) == ui::Answer::No)
        return false;
    if (vb::Trim(body).isEmpty()
        && ui::MsgBox(QStringLiteral("這封信沒有信件內容,是否仍要發出? "), ui::Buttons::YesNo) == ui::Answer::No)
        return false;
    return true;
}

SendProgress::SendProgress(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SendProgress"));
    cmdStop = new QPushButton(LoadResString(2003), this);
    lblProgress = new QLabel(this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(cmdStop);
    row->addWidget(lblProgress, 1);
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    hide();
}

void SendProgress::Begin(int total)
{
    total_ = total;
    running_ = true;
    stopPressed_ = false;
    cmdStop->setEnabled(true);
    lblProgress->clear();
    show();
}

void SendProgress::Sending(int number)
{
    if (!stopPressed_)
        lblProgress->setText(LoadResString(2004).arg(number).arg(total_));
}

void SendProgress::End()
{
    running_ = false;
    hide();
}

void SendProgress::cmdStop_Click()
{
    if (!running_)
        return;
    if (stopPressed_)
        return;
    stopPressed_ = true;
    cmdStop->setEnabled(false);
    lblProgress->setText(LoadResString(2005));
    if (onStop)
        onStop();
}

Outcome SendAll(const std::vector<mail::Message>& messages, mail::Transport& transport, SendProgress& progress)
{
    Outcome outcome;
    const int total = int(messages.size());
    Run run{&transport, &progress, total};
    gRuns.push_back(&run);
    struct Leave {
        Run* run;
        SendProgress& progress;
        ~Leave()
        {
            std::erase(gRuns, run);
            progress.onStop = nullptr;
        }
    } leave{&run, progress};
    progress.onStop = [&transport] { transport.Stop(); };
    progress.Begin(total);
    for (const mail::Message& message : messages) {
        if (progress.StopPressed()) {
            outcome.stopped = true;
            break;
        }
        progress.Sending(outcome.sent + 1);
        std::optional<mail::MailError> failure;
        {
            ui::WaitCursor wait;
            failure = transport.Send(message);
        }
        if (failure && progress.StopPressed()) {
            outcome.stopped = true;
            break;
        }
        if (failure) {
            progress.End();
            outcome.failed = true;
            ui::MsgBox(failure->Text());
            return outcome;
        }
        run.sent = ++outcome.sent;
        ui::DoEvents();
    }
    progress.End();
    if (run.told)
        return outcome;
    if (outcome.stopped)
        ui::MsgBox(StoppedText(outcome.sent, total));
    else
        ui::MsgBox(QStringLiteral("傳送完畢"));
    return outcome;
}

void EndBatchesBeforeExit()
{
    for (Run* run : std::vector<Run*>(gRuns)) {
        if (run->told)
            continue;
        run->progress->cmdStop_Click();
        run->transport->Stop();  // returns once the agent is ended and reaped
        run->told = true;
        ui::MsgBox(StoppedText(run->sent, run->total));
    }
}

QString ContactLine(const QString& shortName, const QString& contact, const QString& email)
{
    return shortName + QLatin1Char(' ') + contact + QLatin1Char('-') + email;
}

std::optional<QString> AddressOfLine(const QString& line)
{
    const QString trimmed = vb::Trim(line);
    const qsizetype dash = trimmed.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return std::nullopt;
    return trimmed.mid(dash + 1);
}

}  // namespace batchmail
