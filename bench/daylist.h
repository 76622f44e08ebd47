#pragma once

// A large day's bout list as CSV: 77 categories of 64 performers each (a
// knockout to the final and two bronze bouts, W/L references throughout),
// 5,005 bouts; names and clubs in several scripts.
#include <string>

namespace bench {

inline std::string boutList()
{
    std::string csv = "category;bout;round;aka;aka_club;ao;ao_club\r\n";
    for (int c = 1; c <= 77; ++c) {
        const std::string category =
            "Kata U" + std::to_string(10 + c % 12) + (c % 2 ? " female" : " male") + " " + std::to_string(c);
        int bout = 0;
        const auto line = [&](const std::string &round, const std::string &aka, const std::string &ao) {
            const std::string number = std::to_string(++bout);
            csv += category + ";" + number + ";" + round + ";" + aka + ";\"Club Zürich, Sektion " + number + "\";" + ao
                + ";Dojo 山田\r\n";
        };
        for (int p = 0; p < 32; ++p)
            line("first round", "Jérôme Łukasiewicz " + std::to_string(2 * p),
                 "山田 太郎 " + std::to_string(2 * p + 1));
        // Each later round: the winners of the round before, pair by pair.
        int first = 1;
        for (int size = 16; size >= 1; size /= 2) {
            const int start = bout + 1;
            for (int k = 0; k < size; ++k)
                line(size == 1 ? "final" : "round of " + std::to_string(2 * size), "W " + std::to_string(first + 2 * k),
                     "W " + std::to_string(first + 2 * k + 1));
            if (size == 2) // the semi-finals' losers against the quarter-finals' first losers
                for (int k = 0; k < 2; ++k)
                    line("bronze", "L " + std::to_string(start + k), "L " + std::to_string(first + 2 * k));
            first = start;
        }
    }
    return csv;
}

} // namespace bench
