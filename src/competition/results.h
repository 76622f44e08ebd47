#pragma once

#include "competition/boutlist.h"
#include "competition/draw.h"
#include "competition/store.h"

#include <QString>
#include <string>
#include <vector>

// The day's results written out for organisers: a CSV file that a
// spreadsheet opens as it is.
namespace competition {

// UTF-8 after a byte-order mark, the list's delimiter, CR LF line ends.
// First one row per bout of the list, in its order: category, round, bout,
// both sides (a performer's name and club; "Winner of bout 3" while that
// bout is to come; empty for a bye), the flags and the winner of its latest
// decision, its state ("decided", "bye", "to come") and the time of day it
// was decided; then, after an empty line, the placings: category, place,
// name, club. A cell that a spreadsheet would take for a formula (it begins
// with =, +, -, @, a tab or a CR) is written with a ' before it.
std::string resultsCsv(const BoutList &list, const std::vector<CategoryDraw> &draw,
                       const std::vector<Decision> &decisions);
std::string resultsCsv(const Day &day);

// Writes `bytes` to `path`, replacing a file there only by a complete new
// one; the reason it could not, or nothing.
QString writeResults(const QString &path, const std::string &bytes);

// For organisers' scripts: the results in the results file at `resultsFile`
// written to `csvFile`, without a window; the reason it could not, or
// nothing. Waits at most `waitMs` for the file.
QString exportResults(const QString &resultsFile, const QString &csvFile, int waitMs = 10000);

} // namespace competition
