#pragma once

#include "competition/boutlist.h"
#include "competition/draw.h"
#include "competition/progress.h"

#include <QObject>
#include <QString>
#include <QThread>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The results file: the bout list, the current bout and every decision, in
// an SQLite database beside kata.ini. Its writes run on a thread of their
// own, never on the console's; each decision is one transaction, durable on
// disk (a power cut after it loses nothing) before `recorded` reports it.
// Where the file cannot be written (another program holds it, the folder is
// read-only, the disk is full) the decisions wait in memory, in order, and
// are written as soon as it can be (tried every second); `trouble` says so
// until then, `troubleOver` when all is written.
namespace competition {

inline constexpr const char *kResultsFileName = "kata-results.sqlite";
inline constexpr int kResultsSchema = 1; // PRAGMA user_version of the files this program writes

// Where the operator was when the file was last written.
struct Day {
    BoutList list;
    std::optional<CurrentBout> current;
    std::vector<Decision> decisions; // in the order recorded
};

class StoreWorker;

class Store : public QObject {
    Q_OBJECT

public:
    explicit Store(QObject *parent = nullptr);
    // Writes what is still waiting if the file takes it (waiting for a lock at
    // most 2 s), and ends the thread; what it cannot write is lost, so the
    // console asks waiting() before it closes.
    ~Store() override;

    // Opens (or starts) the file at `path`; `opened` follows with its day.
    // A file that is not a database, or a damaged one, is kept aside as
    // "NAME.damaged-YYYYMMDD-HHMMSS" and a new one started; one written by a
    // newer version is only read.
    void open(const QString &path);
    // The list replaces the one stored, in one transaction; the decisions stay.
    void saveList(const BoutList &list, const std::optional<CurrentBout> &current);
    void setCurrent(const std::optional<CurrentBout> &current);
    // Returns the ticket that `recorded` reports once the decision is on disk.
    std::uint64_t record(const Decision &decision);
    // Decisions handed in and not yet on disk.
    int waiting() const { return int(nextTicket_ - 1 - lastRecorded_); }

signals:
    void opened(const competition::Day &day);
    void recorded(std::uint64_t ticket);
    void trouble(const QString &message); // again only when the message changes
    void troubleOver();
    void told(const QString &message); // once: the file was replaced or is only read

private:
    QThread thread_;
    StoreWorker *worker_ = nullptr;
    std::uint64_t nextTicket_ = 1, lastRecorded_ = 0;
};

} // namespace competition
