// The external scoreboard driven from the console: its single instance,
// publishing, the field number, opening, closing and readable texts.
#include "support/console.h"

#include <QAccessible>
#include <QCheckBox>
#include <QRadioButton>
#include <QTimer>

using scoreboard::Kabord;

class ScoreboardTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::Console> c;

    QWidget *onBoard(const char *name) const { return c->board()->findChild<QWidget *>(QLatin1String(name)); }
    // Scoreboard windows that the window system still holds.
    static int boardWindows()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return int(testing::windowsNamed("Kabord").size());
    }
    void open()
    {
        c->click("command1");
        QVERIFY(c->board() && c->board()->isVisible());
    }

private slots:
    void init() { c = std::make_unique<testing::Console>(); }
    void cleanup()
    {
        c.reset();
        QCOMPARE(boardWindows(), 0);
    }

    // Writes while it is closed make no window; only opening shows one, always anew.
    void onlyOpeningShowsAWindow()
    {
        c->click("Optionr2");
        c->setText("Text5", QStringLiteral("12"));
        c->click("command12");
        QVERIFY(!c->board());
        QCOMPARE(boardWindows(), 0);

        open();
        const QPointer<Kabord> first = c->board(); // a new one may take the old one's address
        QCOMPARE(boardWindows(), 1);
        const QRect countPlace = onBoard("scb")->geometry();
        const QRect boxPlace = onBoard("Shape5_1")->geometry();

        // Opening again builds it anew from the design: never scaled twice.
        c->click("Optionb1");
        c->click("startext");
        QVERIFY(!first);
        QCOMPARE(boardWindows(), 1);
        QCOMPARE(c->boardText("scb"), QStringLiteral("0"));
        QCOMPARE(onBoard("scb")->geometry(), countPlace);
        QCOMPARE(onBoard("Shape5_1")->geometry(), boxPlace);
        for (const char *digit : {"Label1_0", "Label1_5", "Label1_6", "Label1_7"})
            QCOMPARE(onBoard(digit)->parentWidget(), onBoard("Frame1"));
        // It does not take the keyboard from the console.
        QCOMPARE(c->board()->focusPolicy(), Qt::NoFocus);
        QVERIFY(c->board()->testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(c->board()->windowTitle(), QStringLiteral("Form2"));
    }

    // The field number grows about the middle of its box.
    void fieldNumber()
    {
        c->setText("Text5", QStringLiteral("3"));
        open();
        auto *number = c->board()->label(4);
        const int middle = number->geometry().center().x();
        c->setText("Text5", QStringLiteral("12"));
        c->click("command12");
        QCOMPARE(number->text(), QStringLiteral("12"));
        QVERIFY(qAbs(number->geometry().center().x() - middle) <= 1);
    }

    // Every way of closing discards the scoreboard and what was written into it.
    void closing()
    {
        QStringList ways{"Command2", "closeext", "Check11", "close request", "cl"};
        for (int i = 0; i < 8; ++i)
            ways << QStringLiteral("Label1_%1").arg(i); // the clock digits can be clicked too
        for (const QString &how : ways) {
            const auto row = testing::naming(how);
            c = std::make_unique<testing::Console>();
            c->click("Optionr3");
            open();
            for (const char *name : {"Frame1", "Label1_0", "Label1_5", "Label1_6", "Label1_7"})
                onBoard(name)->show();

            if (how == QLatin1String("close request"))
                c->board()->close();
            else if (how.startsWith(QLatin1String("Label1_")))
                QTest::mouseClick(onBoard(qPrintable(how)), Qt::LeftButton, {}, QPoint(2, 2));
            else
                c->click(qPrintable(how));
            QVERIFY(!c->board());
            QCOMPARE(boardWindows(), 0);
            // The console keeps its decision and field number.
            QVERIFY(c->get<QRadioButton>("Optionr3")->isChecked());
            QCOMPARE(c->text("Text5"), QStringLiteral("1"));
            c->click("Command2"); // closing what is closed does nothing
            QVERIFY(c->fake.messages.shown.isEmpty());
        }
    }

    // Closed through its frame, the console leaves an open scoreboard; the
    // program ends when that closes too, whichever way.
    void theProgramEndsWithItsLastWindow()
    {
        for (const char *how : {"label", "close request", "lost display"}) {
            const auto row = testing::naming(how);
            c = std::make_unique<testing::Console>();
            open();
            c->kata->close();
            QVERIFY(c->board()->isVisible());
            bool ended = true;
            QTimer::singleShot(0, c->board(), [&] {
                if (how == std::string_view("label"))
                    emit c->board()->label(3)->clicked();
                else if (how == std::string_view("close request"))
                    c->board()->close();
                else
                    c->fake.displays.remove(c->board()->screen());
            });
            QObject watchdog; // its timer goes with it
            QTimer::singleShot(3000, &watchdog, [&] {
                ended = false;
                QApplication::quit();
            });
            QApplication::exec();
            QVERIFY2(ended, "the program went on without a window");
        }
    }

    void clicksElsewhereDoNothing()
    {
        open();
        onBoard("Frame1")->show();
        // Through the window, as the window system delivers a click: to
        // whatever lies under the pointer.
        QWindow *window = c->board()->windowHandle();
        for (const char *name : {"scb", "scr", "Image1", "Image2", "Shape1", "Shape2", "Shape5_0", "Shape5_1", "Frame1"}) {
            QWidget *element = onBoard(name);
            const bool shape = QByteArray(name).startsWith("Shape");
            const QPoint spot = element->mapTo(c->board(), shape ? QPoint(4, element->height() / 2) : element->rect().center());
            QTest::mouseClick(window, Qt::LeftButton, {}, spot);
            QVERIFY2(c->board() && c->board()->isVisible(), name);
        }
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(c->board()->width() / 2, c->board()->height() - 3));
        QVERIFY(c->board() && c->board()->isVisible());
        // ... while the same way, a label closes it.
        QTest::mouseClick(window, Qt::LeftButton, {}, onBoard("Label1_3")->geometry().center());
        QVERIFY(!c->board());
    }

    // Screen readers and tools read every caption, on the console and on the scoreboard, also once it changes.
    void captionsAreReadable()
    {
        open();
        c->click("Optionb2");
        int read = 0;
        for (QWidget *widget : c->kata->findChildren<QWidget *>() + c->board()->findChildren<QWidget *>()) {
            const QString text = widget->property("text").toString();
            if (text.isEmpty() || widget->inherits("QLineEdit"))
                continue;
            QVERIFY2(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name) == text, qPrintable(widget->objectName()));
            ++read;
        }
        QVERIFY2(read > 50, qPrintable(QString::number(read)));
    }

    // Writing a count repaints that count, not the picture around it.
    void writingACountRepaintsOnlyIt()
    {
        open();
        QApplication::processEvents();
        struct Painted : QObject {
            QRegion region;
            QWidget *root = nullptr;
            bool eventFilter(QObject *object, QEvent *event) override
            {
                if (event->type() == QEvent::Paint) {
                    auto *widget = static_cast<QWidget *>(object);
                    region += static_cast<QPaintEvent *>(event)->region().translated(widget->mapTo(root, QPoint()));
                }
                return false;
            }
        } painted;
        painted.root = c->board();
        c->board()->installEventFilter(&painted);
        for (QWidget *child : c->board()->findChildren<QWidget *>())
            child->installEventFilter(&painted);

        c->kata->publicBoard().setCounts(0, 4); // the blue count alone
        QApplication::processEvents();
        QVERIFY(!painted.region.isEmpty());
        QVERIFY(onBoard("scb")->geometry().contains(painted.region.boundingRect()));
    }

    // Who performs: each name with its side, fitted into its box, never over a count; empty ones show nowhere,
    // an opening keeps them, mirroring moves them with their sides.
    void namesFitWithTheirSides()
    {
        board::PublicBoard &model = c->kata->publicBoard();
        const board::Performers who{.redName = "山田 太郎",
                                    .redClub = "",
                                    .blueName = "Maximiliane Schwarzenberg-Oberhollenzer",
                                    .blueClub = "Karate-Dojo Bad Reichenhall-Oberhollenzer",
                                    .bout = "Kata U14 female · Final · Bout 12"};
        model.setPerformers(who);
        for (bool mirrored : {false, true}) {
            c->get<QCheckBox>("Check11")->setChecked(mirrored);
            open();
            auto label = [this](const char *name) { return static_cast<ui::FittedLabel *>(onBoard(name)); };
            QCOMPARE(label("blueName")->text(), QString::fromStdString(who.blueName));
            QCOMPARE(label("redName")->property("text").toString(), QStringLiteral("山田 太郎"));
            QVERIFY(label("blueClub")->isVisible() && !label("redClub")->isVisible() && label("boutLine")->isVisible());
            for (const char *name : {"blueName", "blueClub", "redName", "boutLine"}) {
                const ui::FittedLabel *l = label(name);
                QVERIFY2(QRectF(l->rect()).contains(l->textArea()), name); // shrunk or wrapped, never past its box
                QVERIFY(l->fittedFont().pointSizeF() <= l->font().pointSizeF());
                for (const char *count : {"scb", "scr", "Shape5_3", "Shape5_0"})
                    QVERIFY2(!l->geometry().intersects(onBoard(count)->geometry()), name);
            }
            QCOMPARE(label("blueName")->x() < label("redName")->x(), !mirrored);
            const int middle = c->board()->width() / 2; // and under its own count
            QCOMPARE(label("blueName")->geometry().center().x() < middle, onBoard("scb")->geometry().center().x() < middle);
        }
        model.setPerformers({});
        for (const char *name : {"blueName", "blueClub", "redName", "redClub", "boutLine"})
            QVERIFY(!onBoard(name)->isVisible());
    }
};

QTEST_MAIN(ScoreboardTest)
#include "tst_scoreboard.moc"
