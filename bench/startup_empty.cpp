// The yardstick for bench/startup.sh: an empty Qt Widgets window of the title screen's size,
// started and mapped the way the program's first window is.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowRole(QStringLiteral("Empty"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
