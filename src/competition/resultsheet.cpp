#include "competition/resultsheet.h"

#include <QDir>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace competition {

namespace {

QString escaped(const std::string &text) { return QString::fromStdString(text).toHtmlEscaped(); }

// A side's name with its club below it, smaller; a bye as such.
QString sideCell(const Performer &shown, BoutState state)
{
    if (shown.name.empty())
        return state == BoutState::Bye ? QStringLiteral("<td class=\"bye\">bye</td>") : QStringLiteral("<td></td>");
    QString cell = QStringLiteral("<td>") + escaped(shown.name);
    if (!shown.club.empty())
        cell += QStringLiteral("<br/><span class=\"club\">") + escaped(shown.club) + QStringLiteral("</span>");
    return cell + QStringLiteral("</td>");
}

} // namespace

QString resultsSheetHtml(const BoutList &list, const std::vector<CategoryDraw> &draw,
                         const std::vector<Decision> &decisions, const QString &asOf)
{
    QString html = QStringLiteral(
        "<html><head><style>"
        "body { font-family: Arial, 'Liberation Sans', sans-serif; font-size: 9pt; }"
        "h1 { font-size: 15pt; } h2 { font-size: 12pt; margin-top: 14pt; } h3 { font-size: 10pt; margin-top: 8pt; }"
        "th { background-color: #e8e8e8; text-align: left; }"
        ".club { color: #505050; font-size: 8pt; } .bye { color: #808080; }"
        "</style></head><body>");
    html += QStringLiteral("<h1>Results</h1><p>As of %1</p>").arg(asOf.toHtmlEscaped());
    const std::vector<BoutRow> rows = boutRows(list, draw, decisions);
    auto row = rows.begin();
    for (std::size_t c = 0; c < list.categories.size(); ++c) {
        html += QStringLiteral("<h2>") + escaped(list.categories[c].name) + QStringLiteral("</h2>");
        html += QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
                               "<tr><th width=\"8%\">Bout</th><th width=\"14%\">Round</th><th width=\"28%\">Aka</th>"
                               "<th width=\"28%\">Ao</th><th width=\"14%\">Result</th><th width=\"8%\">Time</th></tr>");
        for (; row != rows.end() && row->category == c; ++row) {
            // "2026-12-08 10:15:02": the hour and minute.
            const std::string &at = row->decision ? row->decision->recordedAt : std::string();
            const std::string time = at.size() >= 16 ? at.substr(11, 5) : at;
            html += QStringLiteral("<tr><td>%1</td><td>%2</td>").arg(row->bout->number).arg(escaped(row->bout->round));
            html += sideCell(row->red, row->state) + sideCell(row->blue, row->state);
            html += QStringLiteral("<td>%1</td><td>%2</td></tr>")
                        .arg(escaped(row->state == BoutState::ToCome ? std::string("to come") : resultText(*row)),
                             escaped(time));
        }
        html += QStringLiteral("</table>");
        if (c < draw.size() && !draw[c].placings.empty()) {
            html += QStringLiteral("<h3>Placings</h3><table cellspacing=\"0\" cellpadding=\"2\">");
            for (const Placing &placing : draw[c].placings)
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
