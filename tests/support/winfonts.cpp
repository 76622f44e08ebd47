// On Windows, Qt's offscreen platform draws with the font files of one folder
// instead of Windows' fonts (wine-run.sh gives it fonts-liberation's). There,
// as fontconfig does on Linux, Arial and Arial Narrow are their metric twins,
// and the platform's default face (Helvetica, for the menu) is Liberation Sans.
#include <QCoreApplication>
#include <QFont>

static void drawArialWithItsTwins()
{
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"));
    QFont::insertSubstitution(QStringLiteral("Helvetica"), QStringLiteral("Liberation Sans"));
}
Q_COREAPP_STARTUP_FUNCTION(drawArialWithItsTwins)
