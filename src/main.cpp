#include "console/console.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Taikan"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    console::Kata kata(ui::systemPlatform());
    kata.show();
    return app.exec();
}
