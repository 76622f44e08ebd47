#include "competition/competition.h"

#include <QDateTime>
#include <QFileInfo>

namespace competition {

Competition::Competition(const QString &path, QObject *parent) : QObject(parent), path_(path)
{
    if (QFileInfo::exists(path_))
        makeStore(true);
}

void Competition::makeStore(bool restore)
{
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
    decisions_ = day.decisions;
    results_.clear();
    for (const Decision &decision : decisions_)
        results_.push_back(decision.result);
    current_ = day.current;
    resolve();
    emit changed();
    if (pendingList_) {
        BoutList list = std::move(*pendingList_);
        pendingList_.reset();
        load(std::move(list));
    }
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
    if (opening_) { // the day in the file first, then this list over it
        pendingList_ = std::move(list);
        return;
    }
    list_ = std::move(list);
    resolve();
    current_ = nextToCome(list_, draw_, std::nullopt);
    store_->saveList(list_, current_);
    emit changed();
}

bool Competition::next(const Tally &tally)
{
    if (!current_ || !store_)
        return false;
    const Winner winner = flagWinner(tally.redFlags, tally.blueFlags);
    if (winner != Winner::None) {
        const board::Performers shown = performers();
        Decision decision{{current_->category,
                           current_->bout,
                           winner,
                           {shown.redName, shown.redClub},
                           {shown.blueName, shown.blueClub}},
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString(),
                          tally.field,
                          tally.referees,
                          tally.redFlags,
                          tally.blueFlags};
        store_->record(decision);
        results_.push_back(decision.result);
        decisions_.push_back(std::move(decision));
        resolveCategory(*current_);
    }
    setCurrent(nextToCome(list_, draw_, current_));
    return true;
}

void Competition::previous()
{
    if (current_)
        if (std::optional<CurrentBout> before = previousBout(list_, draw_, *current_))
            setCurrent(std::move(before));
}

void Competition::setCurrent(std::optional<CurrentBout> current)
{
    current_ = std::move(current);
    if (store_)
        store_->setCurrent(current_);
    emit changed();
}

} // namespace competition
