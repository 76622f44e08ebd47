#include "competition/progress.h"

#include <algorithm>
#include <map>

namespace competition {

std::optional<Place> placeOf(const BoutList &list, const CurrentBout &bout)
{
    for (std::size_t c = 0; c < list.categories.size(); ++c) {
        if (list.categories[c].name != bout.category)
            continue;
        const std::vector<Bout> &bouts = list.categories[c].bouts;
        for (std::size_t b = 0; b < bouts.size(); ++b)
            if (bouts[b].number == bout.bout)
                return Place{c, b};
    }
    return std::nullopt;
}

CurrentBout boutAt(const BoutList &list, Place place)
{
    const Category &category = list.categories[place.category];
    return {category.name, category.bouts[place.bout].number};
}

namespace {

// Every bout's place in the list's order, as one index.
std::vector<Place> inOrder(const BoutList &list)
{
    std::vector<Place> places;
    for (std::size_t c = 0; c < list.categories.size(); ++c)
        for (std::size_t b = 0; b < list.categories[c].bouts.size(); ++b)
            places.push_back({c, b});
    return places;
}

BoutState stateAt(const std::vector<CategoryDraw> &draw, Place place)
{
    return draw.at(place.category).bouts.at(place.bout).state;
}

// To come, and both its performers known.
bool performable(const std::vector<CategoryDraw> &draw, Place place)
{
    const DrawnBout &bout = draw.at(place.category).bouts.at(place.bout);
    return bout.state == BoutState::ToCome && bout.red.kind == Side::Kind::Performer
        && bout.blue.kind == Side::Kind::Performer;
}

} // namespace

bool performable(const BoutList &list, const std::vector<CategoryDraw> &draw, const CurrentBout &bout)
{
    const std::optional<Place> at = placeOf(list, bout);
    return at && performable(draw, *at);
}

std::optional<CurrentBout> nextToCome(const BoutList &list, const std::vector<CategoryDraw> &draw,
                                      const std::optional<CurrentBout> &from)
{
    const std::vector<Place> places = inOrder(list);
    std::size_t start = 0;
    if (const std::optional<Place> at = from ? placeOf(list, *from) : std::nullopt)
        start = std::size_t(std::find(places.begin(), places.end(), *at) - places.begin()) + 1;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const Place place = places[(start + i) % places.size()];
        if (performable(draw, place))
            return boutAt(list, place);
    }
    return std::nullopt;
}

std::optional<CurrentBout> previousBout(const BoutList &list, const std::vector<CategoryDraw> &draw,
                                        const CurrentBout &current)
{
    const std::vector<Place> places = inOrder(list);
    const std::optional<Place> at = placeOf(list, current);
    if (!at)
        return std::nullopt;
    for (auto i = std::find(places.begin(), places.end(), *at); i != places.begin();) {
        --i;
        if (stateAt(draw, *i) == BoutState::Decided || performable(draw, *i))
            return boutAt(list, *i);
    }
    return std::nullopt;
}

Winner flagWinner(int redFlags, int blueFlags)
{
    return redFlags > blueFlags ? Winner::Red : blueFlags > redFlags ? Winner::Blue : Winner::None;
}

Performer shownSide(const Side &side)
{
    switch (side.kind) {
    case Side::Kind::Performer:
        return {side.name, side.club};
    case Side::Kind::Winner:
        return {"Winner of bout " + std::to_string(side.bout), {}};
    case Side::Kind::Loser:
        return {"Loser of bout " + std::to_string(side.bout), {}};
    case Side::Kind::Bye:
        break;
    }
    return {};
}

std::string boutLine(const Bout &bout)
{
    std::string line = bout.category;
    if (!bout.round.empty())
        line += " \u00b7 " + bout.round;
    return line + " \u00b7 Bout " + std::to_string(bout.number);
}

board::Performers shownPerformers(const BoutList &list, const std::vector<CategoryDraw> &draw,
                                  const std::optional<CurrentBout> &current)
{
    const std::optional<Place> at = current ? placeOf(list, *current) : std::nullopt;
    if (!at)
        return {};
    const DrawnBout &drawn = draw.at(at->category).bouts.at(at->bout);
    const Performer red = shownSide(drawn.red), blue = shownSide(drawn.blue);
    return {red.name, red.club, blue.name, blue.club, boutLine(list.categories[at->category].bouts[at->bout])};
}

std::vector<Result> resultsOf(const std::vector<Decision> &decisions)
{
    std::vector<Result> results;
    results.reserve(decisions.size());
    for (const Decision &decision : decisions)
        results.push_back(decision.result);
    return results;
}

std::vector<BoutRow> boutRows(const BoutList &list, const std::vector<CategoryDraw> &draw,
                              const std::vector<Decision> &decisions)
{
    std::map<std::pair<std::string_view, int>, const Decision *> latest;
    for (const Decision &decision : decisions)
        latest[{decision.result.category, decision.result.bout}] = &decision;
    std::vector<BoutRow> rows;
    for (std::size_t c = 0; c < list.categories.size() && c < draw.size(); ++c) {
        const Category &category = list.categories[c];
        for (std::size_t b = 0; b < category.bouts.size() && b < draw[c].bouts.size(); ++b) {
            const DrawnBout &drawn = draw[c].bouts[b];
            BoutRow row{c, &category.bouts[b], shownSide(drawn.red), shownSide(drawn.blue), drawn.state};
            if (drawn.state != BoutState::ToCome)
                row.winner = drawn.winner;
            if (drawn.state == BoutState::Decided) {
                const auto found = latest.find({category.name, category.bouts[b].number});
                row.decision = found == latest.end() ? nullptr : found->second;
                row.performedByOthers = drawn.performedByOthers;
            }
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

std::string resultText(const BoutRow &row)
{
    const char *side = row.winner == Winner::Red ? "Aka" : row.winner == Winner::Blue ? "Ao" : nullptr;
    if (!side)
        return {};
    if (row.state == BoutState::Bye)
        return std::string(side) + " goes through";
    if (row.state != BoutState::Decided || !row.decision)
        return {};
    const auto [won, lost] = row.winner == Winner::Red ? std::pair{row.decision->redFlags, row.decision->blueFlags}
                                                       : std::pair{row.decision->blueFlags, row.decision->redFlags};
    return std::string(side) + ' ' + std::to_string(won) + "\u2013" + std::to_string(lost);
}

std::string stateText(const BoutRow &row, bool current)
{
    if (current)
        return "current";
    switch (row.state) {
    case BoutState::Decided:
        return row.performedByOthers ? "decided, check" : "decided";
    case BoutState::Bye:
        return "bye";
    case BoutState::ToCome:
        break;
    }
    return "to come";
}

ResultsTable resultsTable(const BoutList &list, const std::vector<CategoryDraw> &draw,
                          const std::vector<Decision> &decisions, const std::optional<CurrentBout> &current)
{
    ResultsTable table;
    table.categories.reserve(list.categories.size());
    for (std::size_t c = 0; c < list.categories.size(); ++c)
        table.categories.push_back(
            {list.categories[c].name, {}, c < draw.size() ? draw[c].placings : std::vector<Placing>{}});
    for (const BoutRow &row : boutRows(list, draw, decisions)) {
        ResultsTable::Group &group = table.categories[row.category];
        const bool isCurrent = current && current->category == group.category && current->bout == row.bout->number;
        const std::string &at = row.decision ? row.decision->recordedAt : std::string();
        group.bouts.push_back({row.bout->number, row.bout->round, row.red, row.blue, stateText(row, isCurrent),
                               resultText(row), at.size() >= 16 ? at.substr(11, 5) : at, isCurrent,
                               row.performedByOthers});
    }
    return table;
}

} // namespace competition
