#include "competition/competition.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace competition {

namespace {

std::string timeOfDay()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}

} // namespace

Competition::Competition(const QString &path, QObject *parent) : QObject(parent), path_(path)
{
    if (QFileInfo::exists(path_))
        makeStore(true);
}

void Competition::makeStore(bool restore)
{
    if (!restore) // the folder of kata.ini is made at its first Save: this file may come first
        QDir().mkpath(QFileInfo(path_).absolutePath());
    store_ = new Store(this);
    opening_ = restore;
    connect(store_, &Store::opened, this, &Competition::restored);
    connect(store_, &Store::recorded, this, &Competition::recorded);
    connect(store_, &Store::trouble, this, &Competition::trouble);
    connect(store_, &Store::troubleOver, this, &Competition::troubleOver);
    connect(store_, &Store::told, this, &Competition::told);
    store_->open(path_);
}

void Competition::restored(const Day &day)
{
    if (!opening_) // a file made for the list loaded: nothing in it to restore
        return;
    opening_ = false;
    list_ = day.list;
    ++listVersion_;
    decisions_ = day.decisions;
    results_ = resultsOf(decisions_);
    current_ = day.current;
    last_ = current_;
    resolve();
    emit changed();
    emit ready();
}

void Competition::resolve() { draw_ = resolveDraw(list_, results_); }

void Competition::resolveCategory(const CurrentBout &bout)
{
    // A result changes its own category's draw only: that one again, not the day's.
    const std::optional<Place> at = placeOf(list_, bout);
    if (!at)
        return;
    const Category &category = list_.categories[at->category];
    std::vector<Result> results;
    for (const Result &result : results_)
        if (result.category == category.name)
            results.push_back(result);
    draw_[at->category] = resolveDraw(BoutList{list_.delimiter, {category}}, results).front();
}

void Competition::load(BoutList list)
{
    if (!store_)
        makeStore(false);
    list_ = std::move(list);
    ++listVersion_;
    resolve();
    // The bout at the table stays where the new list has it still to come.
    if (!current_ || !performable(list_, draw_, *current_))
        current_ = nextToCome(list_, draw_, std::nullopt);
    last_ = current_;
    store_->saveList(list_, current_);
    emit changed();
}

bool Competition::next(const Tally &tally)
{
    // Only a bout whose performers are known is decided: never a placeholder's name recorded.
    if (!current_ || !store_ || !placeOf(list_, *current_)
        || (!performable(list_, draw_, *current_) && drawnAt(*current_).state != BoutState::Decided))
        return false;
    const Winner winner = flagWinner(tally.redFlags, tally.blueFlags);
    if (winner != Winner::None) {
        const board::Performers shown = performers();
        record({{current_->category,
                 current_->bout,
                 winner,
                 {shown.redName, shown.redClub},
                 {shown.blueName, shown.blueClub}},
                timeOfDay(),
                tally.field,
                tally.referees,
                tally.redFlags,
                tally.blueFlags});
    }
    setCurrent(nextToCome(list_, draw_, current_));
    return true;
}

bool Competition::choose(const CurrentBout &bout)
{
    if (!placeOf(list_, bout) || (!performable(list_, draw_, bout) && drawnAt(bout).state != BoutState::Decided))
        return false;
    if (current_ != bout)
        setCurrent(bout);
    return true;
}

bool Competition::correct(const CurrentBout &bout, int redFlags, int blueFlags)
{
    if (!store_ || !placeOf(list_, bout) || drawnAt(bout).state != BoutState::Decided)
        return false;
    // Who performed it, on the field and with the referees of its decision.
    const auto before = std::find_if(decisions_.rbegin(), decisions_.rend(), [&](const Decision &decision) {
        return decision.result.category == bout.category && decision.result.bout == bout.bout;
    });
    const int referees = before == decisions_.rend() ? 3 : before->referees;
    if ((redFlags != 0 || blueFlags != 0) && redFlags + blueFlags != referees)
        return false; // the referees' flags make the referees' number together
    const DrawnBout &drawn = drawnAt(bout);
    record(
        {{bout.category, bout.bout, flagWinner(redFlags, blueFlags), performerOf(drawn.red), performerOf(drawn.blue)},
         timeOfDay(),
         before == decisions_.rend() ? 0 : before->field,
         referees,
         redFlags,
         blueFlags});
    emit changed();
    return true;
}

void Competition::record(Decision decision)
{
    const CurrentBout bout{decision.result.category, decision.result.bout};
    store_->record(decision);
    results_.push_back(decision.result);
    decisions_.push_back(std::move(decision));
    resolveCategory(bout);
}

bool Competition::previous()
{
    // After the list's last bout, back to it.
    if (!current_ && last_ && placeOf(list_, *last_)) {
        setCurrent(last_);
        return true;
    }
    std::optional<CurrentBout> before = current_ ? previousBout(list_, draw_, *current_) : std::nullopt;
    if (!before)
        return false;
    setCurrent(std::move(before));
    return true;
}

const DrawnBout &Competition::drawnAt(const CurrentBout &bout) const
{
    const Place at = *placeOf(list_, bout);
    return draw_.at(at.category).bouts.at(at.bout);
}

void Competition::setCurrent(std::optional<CurrentBout> current)
{
    if (current_)
        last_ = current_;
    current_ = std::move(current);
    if (store_)
        store_->setCurrent(current_);
    emit changed();
}

} // namespace competition
