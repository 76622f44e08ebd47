#include "competition/resultsheet.h"

#include <QDir>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace competition {

namespace {

QString escaped(const std::string &text) { return QString::fromStdString(text).toHtmlEscaped(); }

// A side's name with its club below it, smaller; an empty side of a bye as such.
QString sideCell(const Performer &shown, bool bye)
{
    if (shown.name.empty())
        return bye ? QStringLiteral("<td class=\"bye\">bye</td>") : QStringLiteral("<td></td>");
    QString cell = QStringLiteral("<td>") + escaped(shown.name);
    if (!shown.club.empty())
        cell += QStringLiteral("<br/><span class=\"club\">") + escaped(shown.club) + QStringLiteral("</span>");
    return cell + QStringLiteral("</td>");
}

} // namespace

QString resultsSheetHtml(const ResultsTable &table, const QString &asOf)
{
    QString html = QStringLiteral(
        "<html><head><style>"
        "body { font-family: Arial, 'Liberation Sans', sans-serif; font-size: 9pt; }"
        "h1 { font-size: 15pt; } h2 { font-size: 12pt; margin-top: 14pt; } h3 { font-size: 10pt; margin-top: 8pt; }"
        "th { background-color: #e8e8e8; text-align: left; }"
        ".club { color: #505050; font-size: 8pt; } .bye { color: #808080; }"
        "</style></head><body>");
    html += QStringLiteral("<h1>Results</h1><p>As of %1</p>").arg(asOf.toHtmlEscaped());
    for (const ResultsTable::Group &category : table.categories) {
        html += QStringLiteral("<h2>") + escaped(category.category) + QStringLiteral("</h2>");
        html += QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
                               "<tr><th width=\"8%\">Bout</th><th width=\"14%\">Round</th><th width=\"28%\">Aka</th>"
                               "<th width=\"28%\">Ao</th><th width=\"14%\">Result</th><th width=\"8%\">Time</th></tr>");
        for (const ResultsTable::Row &row : category.bouts) {
            const bool bye = row.state == "bye";
            html += QStringLiteral("<tr><td>%1</td><td>%2</td>").arg(row.bout).arg(escaped(row.round));
            html += sideCell(row.red, bye) + sideCell(row.blue, bye);
            html += QStringLiteral("<td>%1</td><td>%2</td></tr>")
                        .arg(escaped(row.result.empty() ? row.state
                                         : row.check    ? row.result + " (check)"
                                                        : row.result),
                             escaped(row.time));
        }
        html += QStringLiteral("</table>");
        if (!category.placings.empty()) {
            html += QStringLiteral("<h3>Placings</h3><table cellspacing=\"0\" cellpadding=\"2\">");
            for (const Placing &placing : category.placings)
                html += QStringLiteral("<tr><td>%1.</td><td>%2</td><td class=\"club\">&nbsp;&nbsp;%3</td></tr>")
                            .arg(placing.place)
                            .arg(escaped(placing.performer.name), escaped(placing.performer.club));
            html += QStringLiteral("</table>");
        }
    }
    return html + QStringLiteral("</body></html>");
}

QString writeResultsSheet(const QString &path, const QString &html)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        {
            QPdfWriter pdf(&file);
            pdf.setTitle(QObject::tr("Results"));
            pdf.setCreator(QStringLiteral("Kovamo Taikan"));
            pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                          QPageLayout::Millimeter));
            QTextDocument document;
            document.setHtml(html);
            document.print(&pdf);
        }
        if (file.error() == QFileDevice::NoError && file.commit())
            return {};
    }
    return QObject::tr("The results sheet could not be written to %1: %2.")
        .arg(QDir::toNativeSeparators(path), file.errorString());
}

} // namespace competition
