#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Tessarine 捷錄人事管理系統"));
    w.resize(1024, 700);
    w.show();
    return app.exec();
}
