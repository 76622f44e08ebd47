// On Windows, Qt's offscreen platform draws with the font files of one folder
// instead of Windows' fonts (wine-run.sh gives it fonts-liberation's). There,
// as fontconfig does on Linux, Arial and Arial Narrow are their metric twins;
// Liberation Sans at 9 points stands in for Windows' own face (the menu's).
#include <QFont>
#include <QGuiApplication>

static void drawArialWithItsTwins()
{
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"));
    QGuiApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 9));
}
Q_COREAPP_STARTUP_FUNCTION(drawArialWithItsTwins)
