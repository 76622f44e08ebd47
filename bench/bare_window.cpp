// The yardstick for taikan's start-up: a bare Qt window, shown, that quits on
// its first turn of the event loop, as `taikan --quit-after-start` does.
//   bash tools/bench.sh startup [runs] [--windows]
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(567, 347);
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
