// How fast a large bout list loads and its draw resolves: 77 categories of
// 64 performers each (a knockout to the final and two bronze bouts, W/L
// references throughout), 5,005 bouts, read from CSV text and resolved with
// half the bouts decided.
//   bash tools/bench.sh boutlist [runs]
#include "competition/boutlist.h"
#include "competition/draw.h"
#include "daylist.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace competition;

namespace {

double ms(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

} // namespace

int main(int argc, char *argv[])
{
    const int runs = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 15;
    const std::string csv = bench::boutList();
    const auto identity = [](std::string_view bytes) { return std::string(bytes); };

    std::vector<double> reading, resolving;
    std::size_t bouts = 0, placings = 0, decided = 0;
    for (int run = 0; run < runs; ++run) {
        auto start = std::chrono::steady_clock::now();
        const auto read = readBoutList(csv, identity);
        reading.push_back(ms(std::chrono::steady_clock::now() - start));
        const auto *list = std::get_if<BoutList>(&read);
        if (!list) {
            std::printf("%s\n", describeFaults(std::get<std::vector<Fault>>(read)).c_str());
            return 1;
        }
        // Half the bouts decided, each with the names the draw showed.
        std::vector<Result> results;
        for (const Category &category : list->categories)
            for (std::size_t b = 0; b < category.bouts.size(); b += 2)
                results.push_back({category.name,
                                   category.bouts[b].number,
                                   Winner::Red,
                                   {category.bouts[b].aka.name, {}},
                                   {category.bouts[b].ao.name, {}}});
        decided = results.size();
        start = std::chrono::steady_clock::now();
        const std::vector<CategoryDraw> draw = resolveDraw(*list, results);
        resolving.push_back(ms(std::chrono::steady_clock::now() - start));
        bouts = placings = 0;
        for (std::size_t c = 0; c < draw.size(); ++c) {
            bouts += draw[c].bouts.size();
            placings += draw[c].placings.size();
        }
    }
    std::sort(reading.begin(), reading.end());
    std::sort(resolving.begin(), resolving.end());
    std::printf("bout list: %zu bouts in 77 categories, %.2f MB of CSV; median of %d runs (fastest)\n", bouts,
                double(csv.size()) / 1e6, runs);
    std::printf("  reading it: %.2f ms (%.2f)  (target under 1000 ms)\n", reading[reading.size() / 2], reading[0]);
    std::printf("  resolving its draw with %zu results: %.2f ms (%.2f); %zu placings\n", decided,
                resolving[resolving.size() / 2], resolving[0], placings);
    return 0;
}
