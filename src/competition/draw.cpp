#include "competition/draw.h"

#include <algorithm>
#include <unordered_map>

namespace competition {

namespace {

Side known(const Performer &performer) { return {Side::Kind::Performer, performer.name, performer.club, 0}; }

} // namespace

Performer performerOf(const Side &side) { return {side.name, side.club}; }

std::vector<CategoryDraw> resolveDraw(const BoutList &list, const std::vector<Result> &results)
{
    // Each bout's latest result.
    std::unordered_map<std::string_view, std::size_t> categoryOf;
    std::vector<std::unordered_map<int, std::size_t>> boutOf(list.categories.size());
    std::vector<std::vector<const Result *>> latest(list.categories.size());
    for (std::size_t c = 0; c < list.categories.size(); ++c) {
        categoryOf.try_emplace(list.categories[c].name, c);
        for (std::size_t b = 0; b < list.categories[c].bouts.size(); ++b)
            boutOf[c].try_emplace(list.categories[c].bouts[b].number, b);
        latest[c].assign(list.categories[c].bouts.size(), nullptr);
    }
    for (const Result &result : results) {
        const auto c = categoryOf.find(result.category);
        if (c == categoryOf.end())
            continue;
        if (const auto b = boutOf[c->second].find(result.bout); b != boutOf[c->second].end())
            latest[c->second][b->second] = &result;
    }

    std::vector<CategoryDraw> draw(list.categories.size());
    for (std::size_t c = 0; c < list.categories.size(); ++c) {
        const std::vector<Bout> &bouts = list.categories[c].bouts;
        // What "W n" and "L n" of each bout give, bout by bout in the list's order.
        std::vector<Side> winnerOf(bouts.size()), loserOf(bouts.size());
        const auto entrant = [&](const Side &side, std::size_t self) {
            if (side.kind == Side::Kind::Performer || side.kind == Side::Kind::Bye)
                return side;
            const auto named = boutOf[c].find(side.bout);
            if (named == boutOf[c].end() || named->second >= self)
                return side;
            return side.kind == Side::Kind::Winner ? winnerOf[named->second] : loserOf[named->second];
        };
        CategoryDraw &out = draw[c];
        out.bouts.resize(bouts.size());
        for (std::size_t b = 0; b < bouts.size(); ++b) {
            DrawnBout &d = out.bouts[b];
            d.red = entrant(bouts[b].aka, b);
            d.blue = entrant(bouts[b].ao, b);
            const Result *result = latest[c][b];
            if (d.red.kind == Side::Kind::Bye || d.blue.kind == Side::Kind::Bye) {
                d.state = BoutState::Bye;
                d.winner = d.red.kind != Side::Kind::Bye ? Winner::Red
                    : d.blue.kind != Side::Kind::Bye     ? Winner::Blue
                                                         : Winner::None;
                winnerOf[b] = d.winner == Winner::Red ? d.red : d.blue; // a bye where both are
            } else if (result && result->winner != Winner::None) {
                const Side red = known(result->red), blue = known(result->blue);
                d.performedByOthers = red != d.red || blue != d.blue;
                d.state = BoutState::Decided;
                d.winner = result->winner;
                d.red = red;
                d.blue = blue;
                winnerOf[b] = d.winner == Winner::Red ? red : blue;
                loserOf[b] = d.winner == Winner::Red ? blue : red;
            } else {
                winnerOf[b] = {Side::Kind::Winner, {}, {}, bouts[b].number};
                loserOf[b] = {Side::Kind::Loser, {}, {}, bouts[b].number};
            }
            const auto place = [&](int rank, const Side &side) {
                if (side.kind == Side::Kind::Performer)
                    out.placings.push_back({rank, performerOf(side), bouts[b].number});
            };
            if (isFinal(bouts[b].round)) {
                place(1, winnerOf[b]);
                place(2, loserOf[b]);
            } else if (isBronze(bouts[b].round)) {
                place(3, winnerOf[b]);
            }
        }
        std::stable_sort(out.placings.begin(), out.placings.end(),
                         [](const Placing &a, const Placing &b) { return a.place < b.place; });
    }
    return draw;
}

} // namespace competition
