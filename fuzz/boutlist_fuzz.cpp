// libFuzzer target for reading the bout list: any bytes give a list or
// faults; a list keeps its promises, and its draw resolves whatever results
// are recorded for it.
#include "competition/boutlist.h"
#include "competition/draw.h"
#include "support/latin1.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>

using namespace competition;
using testing::latin1;

namespace {

void check(bool promise)
{
    if (!promise)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const auto read = readBoutList(bytes, latin1);
    if (const auto *faults = std::get_if<std::vector<Fault>>(&read)) {
        check(!faults->empty());
        check(std::is_sorted(faults->begin(), faults->end(),
                             [](const Fault &a, const Fault &b) { return a.line < b.line; }));
        const std::string message = describeFaults(*faults, 5);
        check(std::size_t(std::count(message.begin(), message.end(), '\n')) + 1
              == std::min<std::size_t>(faults->size(), 6));
        return 0;
    }
    const BoutList &list = std::get<BoutList>(read);
    check(list.delimiter == ',' || list.delimiter == ';');
    std::vector<Result> results;
    std::size_t k = 0;
    for (const Category &category : list.categories) {
        check(!category.name.empty() && !category.bouts.empty());
        std::set<int> earlier;
        int line = 0;
        for (const Bout &bout : category.bouts) {
            check(bout.category == category.name && bout.line > line);
            check(bout.number >= 1 && bout.number <= kMaxBoutNumber && earlier.insert(bout.number).second);
            for (const Side *side : {&bout.aka, &bout.ao}) {
                if (side->kind == Side::Kind::Winner || side->kind == Side::Kind::Loser)
                    check(earlier.contains(side->bout) && side->bout != bout.number);
                else
                    check(side->bout == 0 && (side->kind == Side::Kind::Performer) == !side->name.empty());
            }
            line = bout.line;
            // Results from the input's bytes, corrections and take-backs included.
            const auto winner = Winner(data[k++ % size] % 3);
            results.push_back({category.name, bout.number, winner, {bout.aka.name, {}}, {bout.ao.name, {}}});
        }
    }
    const std::vector<CategoryDraw> draw = resolveDraw(list, results);
    check(draw.size() == list.categories.size());
    for (std::size_t c = 0; c < draw.size(); ++c) {
        const std::vector<Bout> &bouts = list.categories[c].bouts;
        check(draw[c].bouts.size() == bouts.size());
        std::size_t bronze = 0;
        for (std::size_t b = 0; b < bouts.size(); ++b) {
            const DrawnBout &d = draw[c].bouts[b];
            const bool bye = d.red.kind == Side::Kind::Bye || d.blue.kind == Side::Kind::Bye;
            check(bye == (d.state == BoutState::Bye));
            check(d.state != BoutState::Decided || d.winner != Winner::None);
            check(d.state != BoutState::ToCome || d.winner == Winner::None);
            bronze += isBronze(bouts[b].round);
            // A side that waits waits for a bout to come.
            for (const Side *side : {&d.red, &d.blue})
                if (side->kind == Side::Kind::Winner || side->kind == Side::Kind::Loser) {
                    const auto named =
                        std::find_if(bouts.begin(), bouts.end(), [&](const Bout &x) { return x.number == side->bout; });
                    check(named != bouts.end() && named < bouts.begin() + std::ptrdiff_t(b)
                          && draw[c].bouts[std::size_t(named - bouts.begin())].state == BoutState::ToCome);
                }
        }
        check(draw[c].placings.size() <= 2 + bronze);
    }
    return 0;
}
