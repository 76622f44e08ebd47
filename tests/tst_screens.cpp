// The console on a desktop of two displays: it opens centred on the main one.
#include "console/console.h"
#include "support/fakeplatform.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QTemporaryFile>
#include <QtTest>

class ScreensTest : public QObject {
    Q_OBJECT

private slots:
    void opensCentredOnTheMainDisplay()
    {
        const QList<QScreen *> screens = QGuiApplication::screens();
        QCOMPARE(screens.size(), 2);
        QScreen *main = QGuiApplication::primaryScreen();
        QCOMPARE(main->name(), QStringLiteral("a-main"));

        testing::FakePlatform fake;
        console::Kata kata(fake.platform());
        kata.show();
        QVERIFY(QTest::qWaitForWindowExposed(&kata));
        QCOMPARE(kata.screen(), main);
        const QPoint offset = kata.frameGeometry().center() - main->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    }

    // The About window opens centred on the console's display, not on the main one.
    void aboutOpensOnTheConsolesDisplay()
    {
        QScreen *hall = QGuiApplication::screens().at(1);
        QVERIFY(hall != QGuiApplication::primaryScreen());
        testing::FakePlatform fake;
        console::Kata kata(fake.platform());
        kata.show();
        QVERIFY(QTest::qWaitForWindowExposed(&kata));
        kata.setScreen(hall);
        kata.move(hall->geometry().topLeft() + QPoint(40, 40));
        QTRY_COMPARE(kata.screen(), hall);

        kata.findChild<QAction *>(QStringLiteral("over"))->trigger();
        QWidget *about = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("Overfrm") && widget->isVisible())
                about = widget;
        QVERIFY(about);
        QCOMPARE(about->screen(), hall);
        const QPoint offset = about->frameGeometry().center() - hall->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    }
};

int main(int argc, char *argv[])
{
    // A main display and a larger, denser one to its right.
    QTemporaryFile layout;
    if (!layout.open())
        return 2;
    layout.write(R"({"screens":[
        {"name":"a-main","x":0,"y":0,"width":1366,"height":768,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
        {"name":"b-hall","x":1366,"y":0,"width":3840,"height":2160,"logicalDpi":144,"logicalBaseDpi":96,"dpr":1.5}]})");
    layout.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(layout.fileName()));
    QApplication app(argc, argv);
    ScreensTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screens.moc"
