#pragma once

#include "board/boardstate.h"
#include "competition/boutlist.h"
#include "competition/draw.h"
#include "competition/progress.h"
#include "competition/store.h"

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

// The day at the table: the bout list, the current bout and every decision
// recorded, kept in the results file. The console feeds it the flags of
// each bout and reads from it who performs.
namespace competition {

// The decision of the current bout as the console holds it.
struct Tally {
    int field = 0;
    int referees = 3;
    int redFlags = 0, blueFlags = 0;
};

class Competition : public QObject {
    Q_OBJECT

public:
    // `path`: the results file. One that exists is opened at once, the day
    // in it restored; none is made until a list is loaded.
    explicit Competition(const QString &path, QObject *parent = nullptr);

    bool hasList() const { return !list_.categories.empty(); }
    bool hasResults() const { return !decisions_.empty(); }
    const BoutList &list() const { return list_; }
    // Changes whenever another list is loaded or restored.
    int listVersion() const { return listVersion_; }
    const std::vector<CategoryDraw> &draw() const { return draw_; }
    const std::vector<Decision> &decisions() const { return decisions_; }
    const std::optional<CurrentBout> &current() const { return current_; }
    // Who performs in the current bout, as every board shows it.
    board::Performers performers() const { return shownPerformers(list_, draw_, current_); }
    // The day's results as pages and sheets show them.
    ResultsTable resultsTable() const { return competition::resultsTable(list_, draw_, decisions_, current_); }
    // Decisions handed to the results file and not yet on it.
    int waiting() const { return store_ ? store_->waiting() : 0; }

    // While the day in the results file is still being read; `ready` follows.
    bool restoring() const { return opening_; }
    // A new list; the results recorded stay (those of its bouts count). The
    // current bout stays where the new list has it still to come; else the
    // first to come.
    void load(BoutList list);
    // Records the current bout's decision (flags on neither side: none) and
    // makes the next bout to come the current one. False, and nothing done,
    // where no bout is current or its performers are not known yet.
    bool next(const Tally &tally);
    // Makes `bout` the current one: a bout to come whose performers are known,
    // or a decided one (performed again, its next decision corrects it).
    // False, and nothing done, for any other.
    bool choose(const CurrentBout &bout);
    // Corrects a decided bout's result by a new decision with these flags
    // (on neither side: the result taken back, the bout is to come again),
    // recorded with who performed it; the decisions before stay in the
    // file. False, and nothing done, where the bout is not decided or the
    // flags do not make its referees' number together.
    bool correct(const CurrentBout &bout, int redFlags, int blueFlags);
    // The bout before the current one (after the list's last, that one),
    // nothing recorded; false where there is none.
    bool previous();

signals:
    void changed(); // the list, the current bout or a result
    void ready();   // the day in the results file restored
    void recorded();
    void trouble(const QString &message);
    void troubleOver();
    void told(const QString &message);

private:
    void makeStore(bool restore); // restore: the day in the file is read first
    void restored(const Day &day);
    void setCurrent(std::optional<CurrentBout> current);
    void record(Decision decision);
    void resolve();
    void resolveCategory(const CurrentBout &bout);
    const DrawnBout &drawnAt(const CurrentBout &bout) const; // a bout of the list

    QString path_;
    Store *store_ = nullptr;
    bool opening_ = false; // the file is asked for its day
    BoutList list_;
    int listVersion_ = 0;
    std::optional<CurrentBout> current_;
    std::optional<CurrentBout> last_; // the bout current before, to go back to after the last
    std::vector<Decision> decisions_;
    std::vector<Result> results_;
    std::vector<CategoryDraw> draw_;
};

} // namespace competition
