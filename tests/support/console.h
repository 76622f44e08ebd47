#pragma once

// A console on a fake platform, driven by the names of its controls as the
// operator drives it: clicks, keys, menu entries.
#include "console/console.h"
#include "fakeplatform.h"
#include "scoreboard/kabord.h"
#include "scoreboard/scoreboard.h"
#include "system.h"
#include "timer/matchclock.h"
#include "ui/widgets.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace testing {

class Console {
public:
    // `sounds` replaces the fake platform's recorder where given.
    explicit Console(platform::Sounds *sounds = nullptr, bool setupOpen = true) : m_sounds(sounds)
    {
        restart();
        if (!QTest::qWaitForWindowExposed(kata.get()))
            qFatal("the console is not shown");
        if (setupOpen)
            kata->setOuterHeight(7800); // every control in view
    }
    // A new console on the same platform and settings, as at the next start (`serve`: with --serve).
    void restart(std::optional<browserboard::ServeChoice> serve = {})
    {
        platform::Platform platform = fake.platform();
        if (m_sounds)
            platform.sounds = m_sounds;
        kata.reset();
        kata = std::make_unique<console::Kata>(platform, serve);
        kata->show();
    }

    template <typename T = QWidget> T *get(const char *name) const
    {
        T *found = kata->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    // A click on a control, or the choice of a menu entry.
    void click(const char *name) const
    {
        if (auto *entry = kata->findChild<QAction *>(QLatin1String(name))) {
            entry->trigger();
            return;
        }
        QWidget *widget = get(name);
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }
    void type(const char *field, const QString &keys) const
    {
        for (QChar key : keys)
            QTest::keyClick(get(field), key.toLatin1());
    }
    void setText(const char *field, const QString &text) const { get<QLineEdit>(field)->setText(text); }
    QString text(const char *field) const { return get<QLineEdit>(field)->text(); }

    scoreboard::Kabord *board() const { return kata->scoreboard().current(); }
    QString boardText(const char *name) const { return board()->findChild<ui::AutoLabel *>(QLatin1String(name))->text(); }
    // The console's clock as the operator reads it, "M:TS".
    QString clock() const { return get<QLabel>("Label1")->text() + ':' + get<QLabel>("Label2")->text() + get<QLabel>("Label3")->text(); }
    bool running() const { return get<QTimer>("Timer1")->isActive(); }
    // `ms` pass on the match clock's time, and Timer1 fires once, late or not.
    void elapse(std::int64_t ms = 1000)
    {
        fake.time += ms;
        kata->clock().tick();
    }

    // A bout list in the program's folder, to be loaded as the operator would.
    QString writeBoutList(const QByteArray &csv = kShortDay) const
    {
        const QString path = QDir(fake.dir.path()).filePath(QStringLiteral("bouts.csv"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(csv) != csv.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    void loadBoutList(const QByteArray &csv = kShortDay)
    {
        fake.files.answers.append(writeBoutList(csv));
        click("loadbouts");
    }
    // What the console shows of the current bout: its line, then red's name and club, blue's.
    QStringList bout() const
    {
        QStringList shown;
        for (const char *name : {"boutLine", "redName", "redClub", "blueName", "blueClub"})
            shown << get<ui::FittedLabel>(name)->text();
        return shown;
    }

    // Two categories: semi-finals, a final between their winners, and one bout alone.
    static inline const QByteArray kShortDay = "category,bout,round,aka,aka_club,ao,ao_club\n"
                                               "Kata U14,1,semi-final,Anna Keller,KC Bern,Mia Rossi,Budo Basel\n"
                                               "Kata U14,2,semi-final,Lea Wyss,,Sara Frei,Dojo Thun\n"
                                               "Kata U14,3,final,W 1,,W 2,\n"
                                               "Kata U21,1,final,Jérôme Łukasiewicz,Karate Club Lyon,山田 太郎,Shotokan Osaka\n";

    FakePlatform fake;
    std::unique_ptr<console::Kata> kata;

private:
    platform::Sounds *m_sounds;
};

// The program's windows of that name that the window system holds.
inline QList<QWidget *> windowsNamed(const char *name)
{
    QList<QWidget *> found = QApplication::topLevelWidgets();
    found.removeIf([name](QWidget *window) { return window->objectName() != QLatin1String(name); });
    return found;
}

// For a table a test runs through itself: names the row, should the test fail in it.
inline auto naming(const QString &row)
{
    return qScopeGuard([row] {
        if (QTest::currentTestFailed())
            qWarning("in the row %s", qPrintable(row));
    });
}

} // namespace testing
