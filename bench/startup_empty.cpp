// The yardstick for bench/startup.sh: an empty Qt Widgets window of the title screen's size
// (364 x 438), started and mapped the way the program's windows are.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowRole(QStringLiteral("Empty"));
    window.resize(364, 438);
    window.show();
    return app.exec();
}
