#include "competition/results.h"

#include "competition/progress.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QSaveFile>
#include <QTimer>
#include <utility>

namespace competition {

namespace {

class Writer {
public:
    explicit Writer(char delimiter) : m_delimiter(delimiter) {}

    Writer &cell(std::string_view text)
    {
        if (m_started)
            m_out += m_delimiter;
        m_started = true;
        std::string value(text);
        if (!value.empty() && std::string_view("=+-@\t\r").find(value.front()) != std::string_view::npos)
            value.insert(value.begin(), '\'');
        const bool quoted = value.find_first_of(std::string{m_delimiter, '"', '\r', '\n'}) != std::string::npos
            || (!value.empty() && (value.front() == ' ' || value.back() == ' '));
        if (!quoted) {
            m_out += value;
            return *this;
        }
        m_out += '"';
        for (char c : value)
            m_out += c == '"' ? std::string("\"\"") : std::string(1, c);
        m_out += '"';
        return *this;
    }
    Writer &cell(int number) { return cell(std::to_string(number)); }
    void end()
    {
        m_out += "\r\n";
        m_started = false;
    }
    std::string text() && { return std::move(m_out); }

private:
    char m_delimiter;
    bool m_started = false;
    std::string m_out = "\xEF\xBB\xBF";
};

const char *winnerText(Winner winner) { return winner == Winner::Red ? "aka" : winner == Winner::Blue ? "ao" : ""; }

} // namespace

std::string resultsCsv(const BoutList &list, const std::vector<CategoryDraw> &draw,
                       const std::vector<Decision> &decisions)
{
    Writer csv(list.delimiter);
    for (const char *name : {"category", "round", "bout", "aka", "aka_club", "ao", "ao_club", "aka_flags", "ao_flags",
                             "winner", "state", "recorded_at"})
        csv.cell(name);
    csv.end();
    for (const BoutRow &row : boutRows(list, draw, decisions)) {
        const Decision *decision = row.decision;
        csv.cell(list.categories[row.category].name).cell(row.bout->round).cell(row.bout->number);
        csv.cell(row.red.name).cell(row.red.club).cell(row.blue.name).cell(row.blue.club);
        csv.cell(decision ? std::to_string(decision->redFlags) : std::string());
        csv.cell(decision ? std::to_string(decision->blueFlags) : std::string());
        csv.cell(winnerText(row.winner));
        csv.cell(stateText(row, false));
        csv.cell(decision ? decision->recordedAt : std::string());
        csv.end();
    }
    csv.end();
    for (const char *name : {"category", "place", "name", "club"})
        csv.cell(name);
    csv.end();
    for (std::size_t c = 0; c < list.categories.size() && c < draw.size(); ++c)
        for (const Placing &placing : draw[c].placings) {
            csv.cell(list.categories[c].name)
                .cell(placing.place)
                .cell(placing.performer.name)
                .cell(placing.performer.club);
            csv.end();
        }
    return std::move(csv).text();
}

std::string resultsCsv(const Day &day)
{
    return resultsCsv(day.list, resolveDraw(day.list, resultsOf(day.decisions)), day.decisions);
}

QString writeResults(const QString &path, const std::string &bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size())
        && file.commit())
        return {};
    return QObject::tr("The results could not be written to %1: %2.")
        .arg(QDir::toNativeSeparators(path), file.errorString());
}

QString exportResults(const QString &resultsFile, const QString &csvFile, int waitMs)
{
    if (!QFileInfo(resultsFile).isFile())
        return QObject::tr("There is no results file at %1: no bout list was loaded there.")
            .arg(QDir::toNativeSeparators(resultsFile));
    std::optional<Day> day;
    QString trouble;
    QEventLoop loop;
    Store store;
    QObject::connect(&store, &Store::opened, &loop, [&](const Day &opened) {
        day = opened;
        loop.quit();
    });
    QObject::connect(&store, &Store::trouble, &loop, [&](const QString &message) { trouble = message; });
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    store.open(resultsFile);
    loop.exec();
    if (!day)
        return trouble.isEmpty()
            ? QObject::tr("The results file %1 could not be read.").arg(QDir::toNativeSeparators(resultsFile))
            : trouble;
    return writeResults(csvFile, resultsCsv(*day));
}

} // namespace competition
