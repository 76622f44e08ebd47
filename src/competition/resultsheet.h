#pragma once

#include "competition/progress.h"

#include <QString>

// The day's results on paper: an A4 sheet per category's bouts and
// placings, written as PDF for the system's viewer to print.
namespace competition {

// The sheet as a document: a title with `asOf` (the time it was made), then
// for each category its bouts (number, round, both names with their clubs,
// the result or state, the time of day decided) and its placings. Every
// text of the list is escaped: a name is never read as markup.
QString resultsSheetHtml(const ResultsTable &table, const QString &asOf);

// Writes `html` as an A4 PDF to `path`, replacing a file there only by a
// complete new one; the reason it could not, or nothing.
QString writeResultsSheet(const QString &path, const QString &html);

} // namespace competition
