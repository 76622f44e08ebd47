// The results file: a real SQLite file in a temporary folder, written by the store's thread.
#include "competition/store.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <memory>

using namespace competition;

namespace {

Decision decision(const std::string &category, int bout, Winner winner = Winner::Red)
{
    return {{category, bout, winner, {"Jérôme Łukasiewicz", "Dojo Nord"}, {"山田 太郎", ""}}, "2026-12-08 10:15:02", 2, 5, 3, 2};
}

// What one store says, kept for the test to wait on.
struct Heard {
    std::unique_ptr<Store> store = std::make_unique<Store>();
    std::optional<Day> day;
    std::vector<std::uint64_t> recorded;
    QStringList trouble, told;
    int over = 0;
    explicit Heard(const QString &path)
    {
        QObject::connect(store.get(), &Store::opened, [this](const Day &d) { day = d; });
        QObject::connect(store.get(), &Store::recorded, [this](std::uint64_t t) { recorded.push_back(t); });
        QObject::connect(store.get(), &Store::trouble, [this](const QString &m) { trouble << m; });
        QObject::connect(store.get(), &Store::troubleOver, [this] { ++over; });
        QObject::connect(store.get(), &Store::told, [this](const QString &m) { told << m; });
        store->open(path);
    }
    bool troubled(const char *text) const { return !trouble.isEmpty() && trouble.last().contains(QLatin1String(text)); }
};

// A second connection to the file, as another program would hold it.
struct Other {
    QSqlDatabase db;
    explicit Other(const QString &path) : db(QSqlDatabase::addDatabase("QSQLITE", "other"))
    {
        db.setDatabaseName(path);
        db.open();
    }
    ~Other()
    {
        db = {};
        QSqlDatabase::removeDatabase("other");
    }
    QVariant value(const QString &sql)
    {
        QSqlQuery q(db);
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }
};

BoutList list()
{
    const auto read = readBoutList("category;bout;aka;aka_club;ao;round\nKata U14;1;Anna;Dojo Nord;Berta;\nKata U14;2;Cara;;;\n"
                                   "Kata U14;3;W 1;;W 2;final\nKata Open;7;山田 太郎;;Sato;\n",
                                   [](std::string_view s) { return std::string(s); });
    BoutList l = std::get<BoutList>(read);
    for (Category &c : l.categories)
        for (Bout &b : c.bouts)
            b.line = 0; // the file's lines are not kept
    return l;
}

// The child: records decisions of `category` one after another, printing each ticket once recorded, until killed.
int recordUntilKilled(const QString &path, const QString &category)
{
    Store store;
    int next = 1;
    QObject::connect(&store, &Store::recorded, [&](std::uint64_t ticket) {
        std::printf("%llu\n", static_cast<unsigned long long>(ticket));
        std::fflush(stdout);
        store.record(decision(category.toStdString(), ++next));
    });
    store.open(path);
    for (int i = 0; i < 3; ++i)
        store.record(decision(category.toStdString(), i == 0 ? 1 : ++next));
    return QCoreApplication::exec();
}

} // namespace

class StoreTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path(const char *name = kResultsFileName) const { return dir.filePath(QLatin1String(name)); }

private slots:
    // Where the operator was comes back from the file: the list, the current bout, every decision in order;
    // a new list replaces the old one and keeps the decisions.
    void dayComesBack()
    {
        {
            Heard heard(path());
            QTRY_VERIFY(heard.day);
            QVERIFY(heard.day->list.categories.empty() && !heard.day->current && heard.day->decisions.empty());
            heard.store->saveList(list(), CurrentBout{"Kata U14", 2});
            for (int bout : {1, 2, 1})
                heard.store->record(decision("Kata U14", bout, bout == 2 ? Winner::None : Winner::Blue));
            heard.store->setCurrent(CurrentBout{"Kata U14", 3});
            QTRY_COMPARE(heard.recorded, (std::vector<std::uint64_t>{1, 2, 3}));
        }
        Heard again(path());
        QTRY_VERIFY(again.day);
        QVERIFY(again.day->list == list() && again.day->current == (CurrentBout{"Kata U14", 3}));
        QVERIFY(again.day->decisions
                == (std::vector{decision("Kata U14", 1, Winner::Blue), decision("Kata U14", 2, Winner::None), decision("Kata U14", 1, Winner::Blue)}));
        again.store->saveList(BoutList{',', {list().categories[1]}}, std::nullopt);
        again.store.reset();
        Other other(path());
        QCOMPARE(other.value("SELECT count(*) FROM bouts").toInt(), 1);
        QCOMPARE(other.value("SELECT group_concat(winner || aka_flags || ao_flags || ao_name, '|') FROM decisions").toString(),
                 "ao32山田 太郎|32山田 太郎|ao32山田 太郎");
        QCOMPARE(other.value("SELECT value FROM state WHERE key = 'current_bout'").toInt(), 0);
        QCOMPARE(other.value("PRAGMA user_version").toString() + other.value("PRAGMA journal_mode").toString(), "1wal");
    }

    // A program killed at any moment: every decision it reported as recorded is in the file, which stays sound.
    void killedAtAnyMoment()
    {
        // 300 rounds, or as many as a minute gives where starting a program is slow (Wine).
        QElapsedTimer elapsed;
        elapsed.start();
        int round = 1;
        for (; round <= 300 && elapsed.elapsed() < 60000; ++round) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {"--record-until-killed", path(), QString::number(round)});
            QVERIFY(child.waitForStarted() && child.waitForReadyRead(10000)); // recording
            QTest::qWait(int(QRandomGenerator::global()->bounded(0, 30)));
            child.kill();
            child.waitForFinished();
            const QStringList lines = QString::fromLatin1(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
            const int reported = lines.isEmpty() ? 0 : lines.last().toInt();
            Other other(path());
            const int kept = other.value(QString("SELECT count(*) FROM decisions WHERE category = '%1'").arg(round)).toInt();
            QVERIFY2(kept >= reported, qPrintable(QString("round %1: %2 reported, %3 kept").arg(round).arg(reported).arg(kept)));
            QCOMPARE(other.value(QString("SELECT max(bout) FROM decisions WHERE category = '%1'").arg(round)).toInt(), kept);
            if (round % 25 == 0)
                QCOMPARE(other.value("PRAGMA integrity_check").toString(), "ok");
        }
        QVERIFY2(round > 30, qPrintable(QString("%1 rounds").arg(round - 1)));
        QCOMPARE(Other(path()).value("PRAGMA integrity_check").toString(), "ok");
    }

    // A file held by another program: decisions wait, the console is told, then they are written once, in order.
    void heldByAnotherProgram()
    {
        Heard heard(path("held.sqlite"));
        QTRY_VERIFY(heard.day);
        Other other(path("held.sqlite"));
        QVERIFY(QSqlQuery(other.db).exec("BEGIN EXCLUSIVE"));
        heard.store->record(decision("Kata", 1));
        heard.store->record(decision("Kata", 2));
        QTRY_VERIFY2_WITH_TIMEOUT(heard.troubled("in use by another program"), qPrintable(heard.trouble.join('|')), 10000);
        QCOMPARE(heard.store->waiting(), 2); // none recorded
        QVERIFY(QSqlQuery(other.db).exec("COMMIT"));
        QTRY_COMPARE_WITH_TIMEOUT(heard.recorded.size(), 2u, 10000);
        QTRY_COMPARE(heard.over, 1);
        QCOMPARE(other.value("SELECT group_concat(bout) FROM decisions").toString(), "1,2");
    }

    // A full disk: the decisions wait in memory, the console is told, and they are written once there is room.
    void aFullDisk()
    {
#ifdef Q_OS_WIN
        QSKIP("a small disk of its own is made with Linux's mount");
#endif
        const QString disk = dir.filePath("disk");
        QDir().mkpath(disk);
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=160k", "tmpfs", disk}) != 0)
            QSKIP("no small disk: mounting a tmpfs needs root");
        const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {"-l", disk}); });
        Heard heard(disk + "/" + kResultsFileName);
        QTRY_VERIFY(heard.day);
        Decision big = decision("Kata", 1);
        big.result.red.club = std::string(6000, 'x');
        int handed = 0;
        for (; handed < 200 && heard.trouble.isEmpty(); ++handed) {
            big.result.bout = handed + 1;
            heard.store->record(big);
            QTest::qWait(5);
        }
        QTRY_VERIFY2(heard.troubled("The disk of the results file"), qPrintable(heard.trouble.join('|')));
        QVERIFY(heard.store->waiting() > 0);
        QCOMPARE(QProcess::execute("mount", {"-o", "remount,size=4m", disk}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(int(heard.recorded.size()), handed, 5000);
        QTRY_COMPARE(heard.over, 1);
        heard.store.reset();

        // Made read-only: the day is still read; a decision waits until the disk takes writes again.
        QCOMPARE(QProcess::execute("mount", {"-o", "remount,ro", disk}), 0);
        Heard readOnly(disk + "/" + kResultsFileName);
        QTRY_VERIFY(readOnly.day && int(readOnly.day->decisions.size()) == handed); // each written once
        readOnly.store->record(decision("Kata", 999));
        QTRY_VERIFY2(readOnly.troubled("cannot be written"), qPrintable(readOnly.trouble.join('|')));
        QCOMPARE(QProcess::execute("mount", {"-o", "remount,rw", disk}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(readOnly.recorded.size(), 1u, 5000);
        QTRY_COMPARE(readOnly.over, 1);
    }

    // A folder that is not there yet, a damaged file, a file of a newer version: told, and nothing is lost.
    void badFiles()
    {
        // The folder comes later: the decision waits and is written then.
        const QString later = dir.filePath("later/" + QLatin1String(kResultsFileName));
        Heard waiting(later);
        waiting.store->record(decision("Kata", 1));
        QTRY_VERIFY2_WITH_TIMEOUT(waiting.troubled("cannot be written"), qPrintable(waiting.trouble.join('|')), 5000);
        QVERIFY(QDir(dir.path()).mkdir("later"));
        QTRY_COMPARE_WITH_TIMEOUT(waiting.recorded.size(), 1u, 5000);
        QTRY_VERIFY(waiting.day && waiting.over == 1);

        // Not a database: kept aside as it was, a new file started.
        QFile damaged(path("damaged.sqlite"));
        const QByteArray garbage = QByteArray("no database, a spreadsheet saved over it\n").repeated(200);
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write(garbage) == garbage.size());
        damaged.close();
        Heard fresh(path("damaged.sqlite"));
        QTRY_VERIFY(fresh.day);
        QVERIFY2(fresh.told.size() == 1 && fresh.told[0].contains("was damaged. It was kept as"), qPrintable(fresh.told.join('|')));
        const QStringList aside = QDir(dir.path()).entryList({"damaged.sqlite.damaged-*"});
        QCOMPARE(aside.size(), 1);
        QFile kept(dir.filePath(aside[0]));
        QVERIFY(kept.open(QIODevice::ReadOnly) && kept.readAll() == garbage);
        fresh.store->record(decision("Kata", 1));
        QTRY_COMPARE(fresh.recorded.size(), 1u);

        // A database with a damaged page: found when opened, kept aside too.
        {
            Heard made(path("page.sqlite"));
            for (int bout = 1; bout <= 60; ++bout)
                made.store->record(decision("Kata", bout));
            QTRY_COMPARE(made.recorded.size(), 60u);
        }
        QFile page(path("page.sqlite"));
        QVERIFY(page.open(QIODevice::ReadWrite) && page.size() >= 16384);
        for (qint64 at = 4096; at < page.size(); at += 4096) // every page's type after the first
            QVERIFY(page.seek(at) && page.write("\x7f", 1) == 1);
        page.close();
        Heard mended(path("page.sqlite"));
        QTRY_VERIFY(mended.day);
        QVERIFY2(mended.told.size() == 1 && mended.told[0].contains("was damaged"), qPrintable(mended.told.join('|')));

        // Written by a newer version: read, never written.
        {
            Heard made(path("newer.sqlite"));
            made.store->record(decision("Kata", 5));
            QTRY_COMPARE(made.recorded.size(), 1u);
        }
        QSqlQuery(Other(path("newer.sqlite")).db).exec("PRAGMA user_version = 2");
        Heard newer(path("newer.sqlite"));
        QTRY_VERIFY(newer.day);
        QCOMPARE(newer.day->decisions.size(), 1u);
        QVERIFY2(newer.told.size() == 1 && newer.told[0].contains("newer version"), qPrintable(newer.told.join('|')));
        newer.store->record(decision("Kata", 6));
        QTRY_VERIFY2(newer.troubled("only read"), qPrintable(newer.trouble.join('|')));
        newer.store.reset();
        QCOMPARE(Other(path("newer.sqlite")).value("SELECT count(*) FROM decisions").toInt(), 1);
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--record-until-killed") == 0)
        return recordUntilKilled(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    StoreTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_store.moc"
