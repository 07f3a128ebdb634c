#include "shell/bkmdbfrm.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "core/Paths.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "shell/Backup.h"
#include "shell/Skin.h"

#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kSection = QStringLiteral("Tessarine");

// The database file being backed up: the resolved path, else the data folder's copy.
QString SourceFile()
{
    if (!gDatabaseFile.isEmpty())
        return gDatabaseFile;
    return ResolveFileNoCase(gDataPath, backup::kBackupFileName);
}
}  // namespace

bkmdbfrm::bkmdbfrm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("bkmdbfrm"));
    ApplySkin(this);

    Image1 = NewTitleImage(this);
    Image1->setFixedSize(vb::TwipsToPixels(10800), vb::TwipsToPixels(1155));

    for (int i : {0, 2, 4}) {
        SkinLabel1[i] = new QLabel(this);
        SkinLabel1[i]->setObjectName(QStringLiteral("SkinLabel1_%1").arg(i));
    }
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Command2 = new QPushButton(QStringLiteral("..."), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command1[0] = new QPushButton(this);
    Command1[0]->setObjectName(QStringLiteral("Command1_0"));
    Command1[1] = new QPushButton(QStringLiteral("取消(&C)"), this);
    Command1[1]->setObjectName(QStringLiteral("Command1_1"));
    Command1[0]->setDefault(true);
    for (QPushButton* b : Command1)
        b->setMinimumSize(96, 30);
    Command2->setMinimumWidth(36);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 12);
    grid->addWidget(Image1, 0, 0, 1, 4);
    auto* body = new QGridLayout();
    body->setContentsMargins(18, 12, 18, 0);
    body->setVerticalSpacing(10);
    body->addWidget(SkinLabel1[2], 0, 0, 1, 3);
    body->addWidget(SkinLabel1[4], 1, 0);
    body->addWidget(Text1, 1, 1);
    body->addWidget(Command2, 1, 2);
    body->addWidget(SkinLabel1[0], 2, 0, 1, 3);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(Command1[0]);
    buttons->addWidget(Command1[1]);
    body->addLayout(buttons, 3, 0, 1, 3);
    grid->addLayout(body, 1, 0, 1, 4);

    connect(Command1[0], &QPushButton::clicked, this, [this] { Command1_Click(0); });
    connect(Command1[1], &QPushButton::clicked, this, [this] { Command1_Click(1); });
    connect(Command2, &QPushButton::clicked, this, &bkmdbfrm::Command2_Click);
    // A refused folder keeps the start button off until the folder is changed.
    connect(Text1, &QLineEdit::textChanged, this, [this] {
        if (!copying_)
            Command1[0]->setEnabled(true);
    });

    setWindowTitle(LoadResString(175));
    SkinLabel1[4]->setText(LoadResString(178));
    Command1[0]->setText(LoadResString(179));

    const QString last = vb::Trim(ReadSetting(QStringLiteral("BackupDate"), kSection));
    const QString packPath = vb::Trim(ReadSetting(QStringLiteral("pack_path"), kSection));
    if (last.isEmpty() || packPath.isEmpty())
        SkinLabel1[2]->setText(LoadResString(176));
    else
        SkinLabel1[2]->setText(LoadResString(175) + QStringLiteral(": ") + last);
    // The old default "C:\" stands for the user's home folder.
    const bool oldDefault = packPath.isEmpty() || packPath.compare(QLatin1String("c:\\"), Qt::CaseInsensitive) == 0
                            || packPath.compare(QLatin1String("c:/"), Qt::CaseInsensitive) == 0;
    Text1->setText(oldDefault ? backup::BackupFolder(QString()) : packPath);

    adjustSize();
    CenterInMDI(this);
}

void bkmdbfrm::Command1_Click(int index)
{
    if (index != 0) {
        // During a copy 取消 stops it; the window stays for another try.
        if (copying_)
            cancelRequested_ = true;
        else
            close();
        return;
    }
    if (copying_)
        return;
    const QString target = backup::BackupTarget(backup::BackupFolder(Text1->text()));
    copying_ = true;
    Command1[0]->setEnabled(false);
    Command2->setEnabled(false);
    const auto finish = [this] {
        copying_ = false;
        cancelRequested_ = false;
        Command1[0]->setEnabled(true);
        Command2->setEnabled(true);
    };
    backup::CopyOptions options;
    options.lockWaitMs = lockWaitMs;
    // The copy runs in steps with the window alive between them: it repaints, and 取消 is heard.
    options.progress = [this](int, int) {
        ui::DoEvents();
        return !cancelRequested_;
    };
    for (;;) {
        try {
            ui::WaitCursor wait;
            SkinLabel1[0]->setText(LoadResString(180) + backup::kBackupFileName);
            ui::DoEvents();
            backup::CopyDatabase(SourceFile(), target, options);
            break;
        } catch (const backup::BackupCancelled& e) {
            SkinLabel1[0]->setText(QString::fromUtf8(e.what()));
            finish();
            return;
        } catch (const std::exception& e) {
            SkinLabel1[0]->clear();
            const ui::Answer a = ui::MsgBox(LoadResString(182) + ErrorText(e), ui::Buttons::RetryCancel);
            if (a != ui::Answer::Retry) {
                finish();
                const auto* failed = dynamic_cast<const backup::BackupFailed*>(&e);
                if (failed && failed->folderRefused)
                    refuseFolder();
                return;
            }
        }
    }
    finish();
    SkinLabel1[0]->setText(LoadResString(181));
    WriteSetting(QStringLiteral("BackupDate"), backup::FormatBackupDate(ui::Now()), kSection);
    backedUp_ = true;
    ui::MsgBox(LoadResString(181));
    accept();
}

void bkmdbfrm::refuseFolder()
{
    // The same folder would only be refused again (Enter pressing the start button over and
    // over): the start waits for another folder, and the folder box takes the focus.
    Command1[0]->setEnabled(false);
    Text1->setFocus(Qt::OtherFocusReason);
    Text1->selectAll();
}

void bkmdbfrm::reject()
{
    if (copying_)
        cancelRequested_ = true;  // Esc or the frame's close button while copying: stop the copy first
    else
        QDialog::reject();
}

void bkmdbfrm::closeEvent(QCloseEvent* event)
{
    if (copying_) {
        cancelRequested_ = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void bkmdbfrm::Command2_Click()
{
    const QString chosen = ui::GetFolder(QStringLiteral("選取備份的目錄"), backup::BackupFolder(Text1->text()));
    if (!chosen.isEmpty())
        Text1->setText(chosen);
}
