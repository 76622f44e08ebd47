#pragma once

// A test on a desktop of the offscreen platform's displays: each its place and size in pixels, then as Windows
// scales it (the logical DPI: 120 for 125 %) and as other systems scale it (the device pixel ratio).
#include <QApplication>
#include <QDir>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryFile>
#include <QtTest>

#define SCREEN(name, x, y, w, h, dpi, dpr)                                                                                                                     \
    "{\"name\":\"" name "\",\"x\":" #x ",\"y\":" #y ",\"width\":" #w ",\"height\":" #h ",\"logicalDpi\":" #dpi ",\"logicalBaseDpi\":96,\"dpr\":" #dpr "}"

namespace testing {

// Runs `Test` on the displays `screens` (SCREEN, SCREEN, ...), in `style` where one is named.
template <typename Test> int execOnScreens(const QByteArray &screens, int argc, char **argv, const char *style = nullptr)
{
    // In the current folder, named relatively: Qt splits the platform's arguments at colons, a Windows drive's too.
    QTemporaryFile layout(QStringLiteral("screens-XXXXXX.json"));
    if (!layout.open())
        return 2;
    layout.write("{\"screens\":[" + screens + "]}");
    layout.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(QDir::current().relativeFilePath(layout.fileName())));
    QApplication app(argc, argv);
    if (style)
        QApplication::setStyle(QStyleFactory::create(QLatin1String(style)));
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace testing
