#include "competition/store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <deque>
#include <utility>
#include <variant>

namespace competition {

namespace {

// SQLite's primary result codes that say what went wrong.
enum SqliteCode { Busy = 5, Locked = 6, ReadOnly = 8, Corrupt = 11, Full = 13, CantOpen = 14, NotADatabase = 26 };
int sqliteCode(const QSqlError &error) { return error.nativeErrorCode().toInt() & 0xff; }

QString qs(const std::string &s) { return QString::fromStdString(s); }
std::string ss(const QVariant &v) { return v.toString().toStdString(); }

const char *const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS bouts (position INTEGER PRIMARY KEY, category TEXT NOT NULL, bout INTEGER NOT NULL,"
    " round TEXT NOT NULL, aka TEXT NOT NULL, aka_club TEXT NOT NULL, ao TEXT NOT NULL, ao_club TEXT NOT NULL,"
    " UNIQUE (category, bout))",
    "CREATE TABLE IF NOT EXISTS state (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS decisions (id INTEGER PRIMARY KEY, recorded_at TEXT NOT NULL, category TEXT NOT NULL,"
    " bout INTEGER NOT NULL, field INTEGER NOT NULL, referees INTEGER NOT NULL, aka_flags INTEGER NOT NULL,"
    " ao_flags INTEGER NOT NULL, winner TEXT NOT NULL, aka_name TEXT NOT NULL, aka_club TEXT NOT NULL,"
    " ao_name TEXT NOT NULL, ao_club TEXT NOT NULL)",
};

const char *winnerText(Winner w) { return w == Winner::Red ? "aka" : w == Winner::Blue ? "ao" : ""; }
Winner winnerOf(const QString &text)
{
    return text == "aka" ? Winner::Red : text == "ao" ? Winner::Blue : Winner::None;
}

struct ListChange {
    BoutList list;
    std::optional<CurrentBout> current;
};
struct CurrentChange {
    std::optional<CurrentBout> current;
};
struct Recording {
    std::uint64_t ticket = 0;
    Decision decision;
};
using Change = std::variant<ListChange, CurrentChange, Recording>;

} // namespace

// Lives on the store's thread: the only one that touches the file.
class StoreWorker : public QObject {
public:
    explicit StoreWorker(Store *store) : store_(store), connection_(QStringLiteral("results-%1").arg(quintptr(this)))
    {
        retry_.setSingleShot(true);
        retry_.setInterval(1000);
        QObject::connect(&retry_, &QTimer::timeout, this,
                         [this] { opened_ && !readOnly_ ? writeWaiting() : open(path_); });
    }
    ~StoreWorker() override { detach(); }

    void open(const QString &path);
    void add(Change change)
    {
        waiting_.push_back(std::move(change));
        if (!retry_.isActive())
            writeWaiting();
    }
    // A last try to write what waits, then the file is closed; what cannot be
    // written then is lost with the program (the caller asks waiting() first).
    void finish()
    {
        if (opened_ && !readOnly_)
            writeWaiting();
        retry_.stop();
        detach();
    }

private:
    template <typename F> void toStore(F f) { QMetaObject::invokeMethod(store_, std::move(f)); }
    bool attach(bool readOnly);
    void detach();
    QSqlDatabase db() const { return QSqlDatabase::database(connection_, false); }
    bool exec(const QString &sql, QSqlQuery *out = nullptr);
    bool prepareSchema();
    bool writable();
    bool rollBack();
    std::optional<Day> readDay();
    bool setAside();
    void writeWaiting();
    bool write(const Change &change);
    bool writeCurrent(const std::optional<CurrentBout> &current);
    void troubled(const QSqlError &error);
    QString shownPath() const { return QDir::toNativeSeparators(path_); }

    Store *store_;
    QString connection_, path_;
    bool opened_ = false, announced_ = false, readOnly_ = false, newer_ = false, troubled_ = false;
    QSqlError lastError_;
    QString lastMessage_;
    std::deque<Change> waiting_;
    QTimer retry_{this};
};

bool StoreWorker::attach(bool readOnly)
{
    detach();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (readOnly) {
        // Read-only, without a journal beside it, the file is read as it lies: SQLite could not make the
        // WAL file's companions in a folder that cannot be written, and would refuse even to read.
        const bool journal = QFile::exists(path_ + QLatin1String("-wal"));
        db.setDatabaseName(QUrl::fromLocalFile(path_).toString(QUrl::FullyEncoded)
                           + (journal ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=ro&immutable=1")));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
    }
    if (db.open())
        return true;
    lastError_ = db.lastError();
    return false;
}

void StoreWorker::detach()
{
    if (!QSqlDatabase::contains(connection_))
        return;
    db().close();
    QSqlDatabase::removeDatabase(connection_);
}

bool StoreWorker::exec(const QString &sql, QSqlQuery *out)
{
    QSqlQuery query(db());
    if (!query.exec(sql)) {
        lastError_ = query.lastError();
        return false;
    }
    if (out)
        *out = std::move(query);
    return true;
}

// A file of ours, made or checked; false with lastError_ where it cannot be read.
bool StoreWorker::prepareSchema()
{
    QSqlQuery query(db());
    if (!exec(QStringLiteral("PRAGMA user_version"), &query) || !query.next())
        return false;
    const int version = query.value(0).toInt();
    query.finish(); // a statement left open holds a read transaction
    if (version > kResultsSchema) {
        if (!newer_) {
            readOnly_ = newer_ = true;
            if (!attach(true))
                return false;
            toStore([s = store_, path = shownPath()] {
                emit s->told(Store::tr("The results file %1 was written by a newer version of Kovamo Taikan. It is "
                                       "only read: decisions are not written to it.")
                                 .arg(path));
            });
        }
        return true;
    }
    if (readOnly_)
        return version == kResultsSchema;
    if (!exec(QStringLiteral("PRAGMA quick_check"), &query) || !query.next())
        return false;
    const QString check = query.value(0).toString();
    query.finish();
    if (check != QLatin1String("ok")) {
        lastError_ = QSqlError(check, {}, QSqlError::StatementError, QString::number(Corrupt));
        return false;
    }
    // Durable at each commit; readers (a spreadsheet, a results service) do not hold up the writes.
    if (!exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !exec(QStringLiteral("PRAGMA synchronous=FULL")))
        return false;
    if (version == kResultsSchema)
        return true;
    if (!exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    bool done = true;
    for (const char *statement : kSchema)
        done = done && exec(QLatin1String(statement));
    if (done && exec(QStringLiteral("PRAGMA user_version=%1").arg(kResultsSchema)) && exec(QStringLiteral("COMMIT")))
        return true;
    return rollBack();
}

// Ends a failed transaction; false, with the error that failed it (not the rollback's).
bool StoreWorker::rollBack()
{
    const QSqlError error = lastError_;
    exec(QStringLiteral("ROLLBACK"));
    lastError_ = error;
    return false;
}

// Whether the file takes writes now (a write-protected file opens as if it did); false with lastError_.
bool StoreWorker::writable()
{
    if (!exec(QStringLiteral("BEGIN IMMEDIATE")))
        return sqliteCode(lastError_) == Busy || sqliteCode(lastError_) == Locked; // held: writes wait their turn
    exec(QStringLiteral("ROLLBACK"));
    return true;
}

std::optional<Day> StoreWorker::readDay()
{
    Day day;
    QSqlQuery query(db());
    query.setForwardOnly(true);
    const auto run = [&](const char *sql) {
        if (query.exec(QLatin1String(sql)))
            return true;
        lastError_ = query.lastError();
        return false;
    };
    if (!run("SELECT key, value FROM state"))
        return std::nullopt;
    std::string category;
    int bout = 0;
    while (query.next()) {
        const QString key = query.value(0).toString();
        if (key == QLatin1String("delimiter") && !query.value(1).toString().isEmpty())
            day.list.delimiter = ss(query.value(1)).front();
        else if (key == QLatin1String("current_category"))
            category = ss(query.value(1));
        else if (key == QLatin1String("current_bout"))
            bout = query.value(1).toInt();
    }
    if (bout > 0)
        day.current = CurrentBout{category, bout};
    if (!run("SELECT category, bout, round, aka, aka_club, ao, ao_club FROM bouts ORDER BY position"))
        return std::nullopt;
    while (query.next()) {
        Bout b{ss(query.value(0)), query.value(1).toInt(), ss(query.value(2)),
               readSide(ss(query.value(3)), ss(query.value(4))), readSide(ss(query.value(5)), ss(query.value(6)))};
        if (day.list.categories.empty() || day.list.categories.back().name != b.category)
            day.list.categories.push_back({b.category, {}});
        day.list.categories.back().bouts.push_back(std::move(b));
    }
    if (!run("SELECT recorded_at, category, bout, field, referees, aka_flags, ao_flags, winner, aka_name, aka_club, "
             "ao_name, ao_club FROM decisions ORDER BY id"))
        return std::nullopt;
    while (query.next()) {
        Decision d;
        d.recordedAt = ss(query.value(0));
        d.result = {ss(query.value(1)),
                    query.value(2).toInt(),
                    winnerOf(query.value(7).toString()),
                    {ss(query.value(8)), ss(query.value(9))},
                    {ss(query.value(10)), ss(query.value(11))}};
        d.field = query.value(3).toInt();
        d.referees = query.value(4).toInt();
        d.redFlags = query.value(5).toInt();
        d.blueFlags = query.value(6).toInt();
        day.decisions.push_back(std::move(d));
    }
    return day;
}

// The damaged file (and its journals) goes aside under a name of its own, never overwritten.
bool StoreWorker::setAside()
{
    detach();
    const QString aside =
        path_ + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (QFile::exists(aside) || !QFile::rename(path_, aside)) {
        lastError_ = QSqlError(QStringLiteral("it is damaged and cannot be moved aside"), {}, QSqlError::UnknownError,
                               QString::number(Corrupt));
        return false;
    }
    for (const char *journal : {"-wal", "-shm", "-journal"})
        if (QFile::exists(path_ + QLatin1String(journal)))
            QFile::rename(path_ + QLatin1String(journal), aside + QLatin1String(journal));
    toStore([s = store_, path = shownPath(), aside = QDir::toNativeSeparators(aside)] {
        emit s->told(Store::tr("The results file %1 was damaged. It was kept as %2 and a new one was started.")
                         .arg(path, aside));
    });
    return true;
}

// Opens the file, again after a write that showed it damaged or read-only; the day is announced once.
void StoreWorker::open(const QString &path)
{
    path_ = path;
    opened_ = readOnly_ = newer_ = false;
    bool ready = attach(false) && prepareSchema() && (newer_ || writable());
    int code = sqliteCode(lastError_);
    if (!ready && (code == Corrupt || code == NotADatabase) && QFile::exists(path_)) {
        ready = setAside() && attach(false) && prepareSchema();
        code = sqliteCode(lastError_);
    }
    if (!ready && (code == ReadOnly || code == CantOpen) && QFile::exists(path_)) {
        readOnly_ = true; // a folder or file that cannot be written: what is there is still read
        ready = attach(true) && prepareSchema();
    }
    std::optional<Day> day;
    if (ready && !announced_ && !(day = readDay()))
        ready = false;
    if (!ready) {
        troubled(lastError_);
        return;
    }
    opened_ = true;
    if (day) {
        announced_ = true;
        toStore([s = store_, day = std::move(*day)] { emit s->opened(day); });
    }
    if (readOnly_ && !newer_)
        troubled(QSqlError(QStringLiteral("the file or its folder is read-only"), {}, QSqlError::ConnectionError,
                           QString::number(ReadOnly)));
    else
        writeWaiting();
}

void StoreWorker::troubled(const QSqlError &error)
{
    const int code = sqliteCode(error);
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    QString message;
    if (newer_)
        message =
            Store::tr("The results file %1 is only read: the decisions are kept in memory only.").arg(shownPath());
    else if (code == Busy || code == Locked)
        message = Store::tr("The results file %1 is in use by another program. The decisions are kept and written "
                            "as soon as it is free.")
                      .arg(shownPath());
    else if (code == Full)
        message = Store::tr("The disk of the results file %1 is full. The decisions are kept and written as soon "
                            "as there is room.")
                      .arg(shownPath());
    else
        message = Store::tr("The results file %1 cannot be written (%2). The decisions are kept and written as soon "
                            "as it can be.")
                      .arg(shownPath(), detail);
    troubled_ = true;
    if (message != std::exchange(lastMessage_, message))
        toStore([s = store_, message] { emit s->trouble(message); });
    if (!newer_)
        retry_.start();
}

void StoreWorker::writeWaiting()
{
    if (opened_ && newer_ && !waiting_.empty())
        troubled(QSqlError());
    if (!opened_ || readOnly_)
        return;
    while (!waiting_.empty()) {
        if (!write(waiting_.front())) {
            const int code = sqliteCode(lastError_);
            if (code == Corrupt || code == NotADatabase || code == ReadOnly || code == CantOpen) {
                detach(); // damaged or write-protected since it was opened: the next try opens it anew
                opened_ = false;
            }
            troubled(lastError_);
            return;
        }
        if (const auto *r = std::get_if<Recording>(&waiting_.front()))
            toStore([s = store_, ticket = r->ticket] { emit s->recorded(ticket); });
        waiting_.pop_front();
    }
    if (std::exchange(troubled_, false)) {
        lastMessage_.clear();
        toStore([s = store_] { emit s->troubleOver(); });
    }
}

bool StoreWorker::writeCurrent(const std::optional<CurrentBout> &current)
{
    QSqlQuery query(db());
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO state (key, value) VALUES (?, ?)"));
    const std::pair<const char *, QString> rows[] = {
        {"current_category", qs(current ? current->category : std::string())},
        {"current_bout", QString::number(current ? current->bout : 0)}};
    for (const auto &[key, value] : rows) {
        query.addBindValue(QLatin1String(key));
        query.addBindValue(value);
        if (!query.exec()) {
            lastError_ = query.lastError();
            return false;
        }
    }
    return true;
}

// One change, one transaction.
bool StoreWorker::write(const Change &change)
{
    // BEGIN and COMMIT as statements: Qt's own transaction calls drop SQLite's error code (full, locked, damaged).
    if (!exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    QSqlDatabase d = db();
    bool done = true;
    if (const auto *c = std::get_if<ListChange>(&change)) {
        done = exec(QStringLiteral("DELETE FROM bouts")) && writeCurrent(c->current);
        QSqlQuery query(d);
        query.prepare(QStringLiteral("INSERT OR REPLACE INTO state (key, value) VALUES ('delimiter', ?)"));
        query.addBindValue(QString(QChar(c->list.delimiter)));
        if (done && !query.exec()) {
            lastError_ = query.lastError();
            done = false;
        }
        query.prepare(QStringLiteral("INSERT INTO bouts (position, category, bout, round, aka, aka_club, ao, ao_club)"
                                     " VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        int position = 0;
        for (const Category &category : c->list.categories)
            for (const Bout &b : category.bouts) {
                if (!done)
                    break;
                for (const QVariant &v :
                     {QVariant(++position), QVariant(qs(category.name)), QVariant(b.number), QVariant(qs(b.round)),
                      QVariant(qs(sideCell(b.aka))), QVariant(qs(b.aka.club)), QVariant(qs(sideCell(b.ao))),
                      QVariant(qs(b.ao.club))})
                    query.addBindValue(v);
                if (!query.exec()) {
                    lastError_ = query.lastError();
                    done = false;
                }
            }
    } else if (const auto *c = std::get_if<CurrentChange>(&change)) {
        done = writeCurrent(c->current);
    } else {
        const Decision &r = std::get<Recording>(change).decision;
        QSqlQuery query(d);
        query.prepare(QStringLiteral(
            "INSERT INTO decisions (recorded_at, category, bout, field, referees, aka_flags, ao_flags, winner,"
            " aka_name, aka_club, ao_name, ao_club) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (const QVariant &v :
             {QVariant(qs(r.recordedAt)), QVariant(qs(r.result.category)), QVariant(r.result.bout), QVariant(r.field),
              QVariant(r.referees), QVariant(r.redFlags), QVariant(r.blueFlags),
              QVariant(QLatin1String(winnerText(r.result.winner))), QVariant(qs(r.result.red.name)),
              QVariant(qs(r.result.red.club)), QVariant(qs(r.result.blue.name)), QVariant(qs(r.result.blue.club))})
            query.addBindValue(v);
        done = query.exec();
        if (!done)
            lastError_ = query.lastError();
    }
    if (done && exec(QStringLiteral("COMMIT")))
        return true;
    return rollBack();
}

Store::Store(QObject *parent) : QObject(parent), worker_(new StoreWorker(this))
{
    // The SQLite driver is loaded here, on the caller's thread, not by the store's: under Wine a plugin
    // loaded by a thread that ends before the program held the program's exit for ever.
    QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"));
    thread_.setObjectName(QStringLiteral("results file"));
    worker_->moveToThread(&thread_);
    thread_.start();
    connect(this, &Store::recorded, this, [this](std::uint64_t ticket) { lastRecorded_ = ticket; });
}

Store::~Store()
{
    QMetaObject::invokeMethod(
        worker_, [w = worker_] { w->finish(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
    delete worker_;
}

void Store::open(const QString &path)
{
    QMetaObject::invokeMethod(worker_, [w = worker_, path] { w->open(path); });
}

void Store::saveList(const BoutList &list, const std::optional<CurrentBout> &current)
{
    QMetaObject::invokeMethod(worker_, [w = worker_, change = Change(ListChange{list, current})] { w->add(change); });
}

void Store::setCurrent(const std::optional<CurrentBout> &current)
{
    QMetaObject::invokeMethod(worker_, [w = worker_, change = Change(CurrentChange{current})] { w->add(change); });
}

std::uint64_t Store::record(const Decision &decision)
{
    const std::uint64_t ticket = nextTicket_++;
    QMetaObject::invokeMethod(worker_, [w = worker_, change = Change(Recording{ticket, decision})] { w->add(change); });
    return ticket;
}

} // namespace competition
