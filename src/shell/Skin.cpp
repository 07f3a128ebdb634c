#include "shell/Skin.h"

#include "shell/MDIForm1.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

// Colours and the main window's own areas only: the record windows place their controls
// at fixed sizes, so the sheet changes no padding, border or font of the common controls.
QString SkinStyleSheet()
{
    return QStringLiteral(R"css(
QMainWindow, QDialog { background: #f4f5f7; }
QMenuBar { background: #efefef; border-bottom: 1px solid #c8c8c8; }
QMenuBar::item { padding: 3px 10px; background: transparent; }
QMenuBar::item:selected { background: #d6e4f5; color: #0b2e59; }
QMenu { background: #ffffff; border: 1px solid #a9b6c8; }
QMenu::item { padding: 4px 26px 4px 24px; }
QMenu::item:selected { background: #3d6fb6; color: #ffffff; }
QMenu::item:disabled { color: #9a9a9a; }
QMenu::separator { height: 1px; background: #d0d0d0; margin: 3px 6px; }

#ToolBarPicture { background: #efefef; border-bottom: 1px solid #c8c8c8; }
#ToolBarPicture QPushButton {
    border: 1px solid #aab4c2; border-radius: 3px; padding: 1px 2px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #dde3ec);
    color: #1d2a3a;
}
#ToolBarPicture QPushButton:hover {
    border-color: #3d6fb6;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #c9daf2);
}
#ToolBarPicture QPushButton:pressed { background: #b9cde9; }
#ToolBarPicture QLabel { color: #2b3a4f; }

#Picture2 { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #1f4d8c, stop:1 #5d8bc9); }
#Picture2 QLabel { color: #fff8c8; padding-left: 6px; }

#Picture1 { background: #efefef; border-top: 1px solid #c8c8c8; }
#Picture1 QLabel { color: #2b2b2b; padding: 0 4px; }

#ToolPicture { background: #e6ebf2; border-left: 1px solid #b4bfcd; }
#ToolPicture QPlainTextEdit { background: #ffffff; color: #008000; border: 1px solid #b4bfcd; }
#ToolPicture QToolButton { border: 1px solid #aab4c2; background: #f7f9fc; }

QToolTip { background: #ffffe1; color: #000000; border: 1px solid #767676; }
)css");
}

void ApplySkin(QWidget* window)
{
    static bool installed = false;
    if (!installed && qApp) {
        qApp->setStyleSheet(SkinStyleSheet());
        installed = true;
    }
    (void)window;
}

QLabel* NewTitleImage(QWidget* parent)
{
    auto* image = new QLabel(parent);
    image->setObjectName(QStringLiteral("Image1"));
    if (MDIForm1* main = MDIForm1::Instance())
        image->setPixmap(main->TitlePixmap());
    image->setScaledContents(true);
    return image;
}
