#include "console/console.h"

#include "about/about.h"
#include "board/publicboard.h"
#include "browserboard/browserboard.h"
#include "competition/boutswindow.h"
#include "competition/competition.h"
#include "competition/results.h"
#include "competition/resultsheet.h"
#include "console/consoledesign.h"
#include "console/keys.h"
#include "decision/decisionpanel.h"
#include "platform/sound.h"
#include "scoreboard/scoreboard.h"
#include "settings/settingsio.h"
#include "settings/setuppanel.h"
#include "settings/setupstrip.h"
#include "timer/entryfilter.h"
#include "timer/matchclock.h"
#include "ui/design.h"
#include "ui/pushbutton.h"
#include "ui/twips.h"
#include "ui/widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace console {

Kata::Kata(const platform::Platform &platform, std::optional<browserboard::ServeChoice> serve, QWidget *parent)
    : QMainWindow(parent), m_platform(platform), m_client(new QWidget(this)), m_board(new board::PublicBoard(this))
{
    buildWindow();
    makeDecision();
    makeSetup();
    makeScoreboard();
    makeBrowserBoard();
    makeClock();
    makeSounds();
    makeCompetition();
    filterEntries();
    installKeys(*this);
    connect(control<ui::PushButton>("command14"), &ui::PushButton::clicked, this, &Kata::closeProgram);
    startUp(serve);
}

QLineEdit *Kata::field(const char *name) const { return control<QLineEdit>(name); }

QAction *Kata::entry(const char *name) const { return findChild<QAction *>(QLatin1String(name)); }

void Kata::buildWindow()
{
    setObjectName(QStringLiteral("Kata"));
    setWindowTitle(ui::qs(kCaption));
    m_client->setObjectName(QStringLiteral("client"));
    // The window's background is the system's window colour. (Setting the
    // palette rather than the background role keeps the labels' roles.)
    QPalette palette = m_client->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    m_client->setPalette(palette);
    m_client->setAutoFillBackground(true);
    setCentralWidget(m_client);
    // The window takes exactly the size of its client area and menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    ui::build(m_client, frames());
    ui::build(m_client, panelArtwork(), ui::Listed::FrontToBack);
    ui::build(m_client, panelControls());
    ui::build(m_client, performers());
    ui::build(m_client, rightColumn());
    ui::build(m_client, setupStrip());
    ui::build(m_client, offscreenFields());
    for (const char *name : {"sbtxt", "shtxt"})
        ui::named(m_client, name)->setFocusPolicy(Qt::NoFocus);
    buildMenu();
    connect(entry("over"), &QAction::triggered, new about::About(this), &about::About::show);
}

void Kata::makeDecision()
{
    // Every flag choice is published to the public board.
    m_decision = new decision::DecisionPanel(m_client);
    connect(m_decision, &decision::DecisionPanel::decisionMade, this, &Kata::publishDecision);
}

void Kata::makeSetup()
{
    m_setup = new settings::SetupPanel(m_client, m_platform,
                                       {[this] { return outerHeight(); }, [this](int h) { setOuterHeight(h); }});
    connect(entry("su"), &QAction::triggered, m_setup, &settings::SetupPanel::openFromMenu);
    // "Internal" rearranges the console at once.
    connect(control<QCheckBox>("Check10"), &QCheckBox::toggled, this, &Kata::mirror);
}

void Kata::makeScoreboard()
{
    auto *external = control<QCheckBox>("Check11");
    m_scoreboard = new scoreboard::Scoreboard(
        {field("hsch"), field("vsch"), field("fsch"), external, field("Text5"), field("sbtxt"), field("shtxt")},
        *m_board, m_platform, this);
    connect(control<ui::PushButton>("command1"), &ui::PushButton::clicked, this, &Kata::openScoreboard);
    connect(entry("startext"), &QAction::triggered, this, &Kata::openScoreboard);
    connect(control<ui::PushButton>("Command2"), &ui::PushButton::clicked, this, &Kata::closeScoreboard);
    connect(entry("closeext"), &QAction::triggered, this, &Kata::closeScoreboard);
    // "External" closes the scoreboard, so that the new choice shows at the
    // next opening; the browsers follow it at once.
    connect(external, &QCheckBox::toggled, this, [this](bool mirrored) {
        closeScoreboard();
        m_board->setMirrored(mirrored);
    });
    // "Set" sends the field number as it stands.
    connect(control<ui::PushButton>("command12"), &ui::PushButton::clicked, this,
            [this] { m_board->setFieldNumber(field("Text5")->text()); });
}

void Kata::makeBrowserBoard()
{
    m_browser = new browserboard::BrowserBoard(*m_board, m_platform, this);
    connect(entry("webbord"), &QAction::triggered, m_browser, &browserboard::BrowserBoard::showWindow);
}

void Kata::makeClock()
{
    // The match clock ticks once a second while it runs.
    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(1000);
    auto label = [this](const char *name) { return control<QLabel>(name); };
    auto button = [this](const char *name) { return control<ui::PushButton>(name); };
    m_clock =
        new timer::MatchClock({label("Label1"), label("Label2"), label("Label3"), button("Command4"),
                               button("Command5"), timer, field("Text1"), field("Text6")},
                              *m_board, {[this] { playWarning(); }, [this] { playEnd(); }}, m_platform.monotonic, this);
    connect(button("Command4"), &ui::PushButton::clicked, m_clock, &timer::MatchClock::start);
    connect(button("Command5"), &ui::PushButton::clicked, this, &Kata::stopClock);
    connect(button("command6"), &ui::PushButton::clicked, this, &Kata::resetTime);
    connect(entry("restime"), &QAction::triggered, this, &Kata::resetTime);
    connect(button("command3"), &ui::PushButton::clicked, this, &Kata::resetMatch);
    connect(entry("resmatch"), &QAction::triggered, this, &Kata::resetMatch);
}

void Kata::makeSounds()
{
    connect(control<ui::PushButton>("MyButton3"), &ui::PushButton::clicked, this, &Kata::playWarning);
    connect(control<ui::PushButton>("MyButton2"), &ui::PushButton::clicked, this, &Kata::playEnd);
    // The player gets each file ready as soon as it is named: when it is
    // typed, picked or restored, long before the clock asks for it.
    for (const auto &[name, signal] :
         {std::pair{"waarwav", platform::Signal::Warning}, std::pair{"eindwav", platform::Signal::End}})
        connect(field(name), &QLineEdit::textChanged, this, [this, which = signal](const QString &path) {
            if (m_platform.sounds)
                m_platform.sounds->choose(which, path);
        });
}

void Kata::makeCompetition()
{
    const QString path =
        settings::settingsPaths(m_platform.settings, QLatin1String(competition::kResultsFileName)).write;
    m_competition = new competition::Competition(path, this);
    connect(m_competition, &competition::Competition::changed, this, &Kata::showBout);
    // The results page in the browser follows every change of the day.
    m_browser->setResultsSource([this] { return m_competition->resultsTable(); });
    connect(m_competition, &competition::Competition::changed, m_browser, &browserboard::BrowserBoard::resultsChanged);
    connect(entry("loadbouts"), &QAction::triggered, this, &Kata::chooseBoutList);
    connect(entry("bouts"), &QAction::triggered, this, &Kata::showBouts);
    connect(entry("nextbout"), &QAction::triggered, this, &Kata::nextBout);
    connect(entry("prevbout"), &QAction::triggered, this, &Kata::previousBout);
    connect(entry("exportres"), &QAction::triggered, this, &Kata::exportResults);
    connect(entry("resultspdf"), &QAction::triggered, this, &Kata::printResults);
    // Decisions not yet on disk are said in the bout's line until they are.
    connect(m_competition, &competition::Competition::trouble, this, [this](const QString &message) {
        m_trouble = message;
        showBout();
    });
    connect(m_competition, &competition::Competition::troubleOver, this, [this] {
        m_trouble.clear();
        showBout();
    });
    connect(m_competition, &competition::Competition::told, this, [this](const QString &message) {
        m_platform.messages->show(this, platform::MessageIcon::Warning, message);
    });
    showBout();
}

void Kata::showBout()
{
    const board::Performers who = m_competition->performers();
    m_board->setPerformers(who);
    const std::pair<const char *, const std::string *> shown[] = {
        {"redName", &who.redName}, {"redClub", &who.redClub}, {"blueName", &who.blueName}, {"blueClub", &who.blueClub}};
    for (const auto &[name, text] : shown)
        control<ui::FittedLabel>(name)->setText(QString::fromStdString(*text));
    auto *line = control<ui::FittedLabel>("boutLine");
    line->setText(m_trouble.isEmpty() ? QString::fromStdString(who.bout) : m_trouble);
    line->setTextColour(m_trouble.isEmpty() ? Qt::black : Qt::red);
    entry("nextbout")->setEnabled(m_competition->current().has_value());
    entry("prevbout")->setEnabled(m_competition->hasList());
}

void Kata::chooseBoutList()
{
    if (const std::optional<QString> path = m_platform.files->openFile(
            this, tr("Load bout list"), {}, tr("Bout lists (*.csv);;All files (*)"), QDir::homePath()))
        loadBoutList(*path);
}

bool Kata::loadBoutList(const QString &path)
{
    // The day in the results file comes first (what is recorded is asked about).
    if (m_competition->restoring()) {
        connect(
            m_competition, &competition::Competition::ready, this, [this, path] { loadBoutList(path); },
            Qt::SingleShotConnection);
        return true;
    }
    const auto fail = [this](const QString &message) {
        m_platform.messages->show(this, platform::MessageIcon::Warning, message);
        return false;
    };
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return fail(tr("The bout list %1 cannot be read.").arg(QDir::toNativeSeparators(path)));
    const QByteArray bytes = file.read(qint64(competition::kMaxFileBytes) + 1);
    auto read = competition::readBoutList(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                                          [](std::string_view local) {
        return QString::fromLocal8Bit(local.data(), qsizetype(local.size())).toStdString();
    });
    if (const auto *faults = std::get_if<std::vector<competition::Fault>>(&read))
        return fail(
            tr("The bout list %1 was not loaded:\n%2")
                .arg(QDir::toNativeSeparators(path), QString::fromStdString(competition::describeFaults(*faults))));
    if (m_competition->hasResults()
        && !m_platform.messages->ask(this,
                                     tr("Results are recorded. Load the new bout list? The results recorded "
                                        "stay, and count for the bouts of the new list.")))
        return false;
    const std::optional<competition::CurrentBout> before = m_competition->current();
    m_competition->load(std::get<competition::BoutList>(std::move(read)));
    if (m_competition->current() != before) // flags chosen were for another bout
        resetMatch();
    return true;
}

void Kata::nextBout()
{
    if (!m_competition->current())
        return;
    const decision::FlagCounts counts = m_decision->counts();
    if (counts.red == 0 && counts.blue == 0
        && !m_platform.messages->ask(this,
                                     tr("No flags are chosen for this bout. Go on to the next bout "
                                        "without a result?")))
        return;
    // The field number as the boards show it.
    const int shownField = QString::fromStdString(m_board->state().fieldNumber).toInt();
    if (!m_competition->next({shownField, m_decision->refereeCount(), counts.red, counts.blue})) {
        m_platform.messages->show(this, platform::MessageIcon::Warning,
                                  tr("Who performs in this bout is not known yet: the bouts it waits for are to be "
                                     "decided first."));
        return;
    }
    resetMatch();
}

void Kata::previousBout()
{
    if (m_competition->previous())
        resetMatch();
}

void Kata::showBouts()
{
    if (!m_bouts) {
        auto *bouts = new competition::BoutsWindow(*m_competition, *m_platform.messages, this);
        connect(bouts, &competition::BoutsWindow::chosen, this, &Kata::chooseBout);
        connect(bouts, &competition::BoutsWindow::nextRequested, this, &Kata::nextBout);
        m_bouts = bouts;
    }
    m_bouts->show();
    m_bouts->setWindowState(m_bouts->windowState() & ~Qt::WindowMinimized);
    m_bouts->raise();
    m_bouts->activateWindow();
}

void Kata::chooseBout(const competition::CurrentBout &bout)
{
    if (m_competition->current() == bout)
        return;
    const decision::FlagCounts counts = m_decision->counts();
    if ((counts.red != 0 || counts.blue != 0)
        && !m_platform.messages->ask(m_bouts ? m_bouts.data() : this,
                                     tr("Flags are chosen for the current bout and not recorded. Go to the "
                                        "other bout without recording them?")))
        return;
    if (m_competition->choose(bout))
        resetMatch();
}

void Kata::exportResults()
{
    if (const std::optional<QString> path =
            resultsFile(tr("Export results"), QStringLiteral("kata-results.csv"), tr("CSV files (*.csv)"))) {
        const QString error = competition::writeResults(
            *path, competition::resultsCsv(m_competition->list(), m_competition->draw(), m_competition->decisions()));
        if (!error.isEmpty())
            m_platform.messages->show(this, platform::MessageIcon::Warning, error);
    }
}

void Kata::printResults()
{
    const std::optional<QString> path =
        resultsFile(tr("Results sheet"), QStringLiteral("kata-results.pdf"), tr("PDF files (*.pdf)"));
    if (!path)
        return;
    const QString asOf = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const QString error =
        competition::writeResultsSheet(*path, competition::resultsSheetHtml(m_competition->resultsTable(), asOf));
    if (!error.isEmpty())
        m_platform.messages->show(this, platform::MessageIcon::Warning, error);
    else if (!m_platform.files->showDocument(*path))
        m_platform.messages->show(this, platform::MessageIcon::Information,
                                  tr("The results sheet is written to %1; no program to show it was found.")
                                      .arg(QDir::toNativeSeparators(*path)));
}

std::optional<QString> Kata::resultsFile(const QString &title, const QString &fileName, const QString &filter)
{
    if (!m_competition->hasList()) {
        m_platform.messages->show(this, platform::MessageIcon::Warning,
                                  tr("No bout list is loaded: there are no results to export."));
        return std::nullopt;
    }
    return m_platform.files->saveFile(this, title, fileName, filter, QDir::homePath());
}

void Kata::filterEntries()
{
    // Only whole numbers go into the time and field-number fields.
    auto *entryFilter = new timer::EntryFilter(*m_platform.messages, this);
    for (const char *name : {"Text1", "Text6", "Text5"})
        entryFilter->watch(field(name));
    timer::keepMinutesToOneDigit(field("Text1"));
}

void Kata::startUp(const std::optional<browserboard::ServeChoice> &serve)
{
    setOuterHeight(settings::kOuterHeightClosed);
    for (const char *name : {"Command4", "Command5"}) {
        QWidget *button = ui::named(m_client, name);
        button->move(ui::px(kStartStopLeft), button->y());
    }
    ui::named(m_client, "Command4")->raise(); // Start lies on top of Stop
    m_setup->restore();                       // checking Internal mirrors the console at once
    if (control<QCheckBox>("Check10")->isChecked())
        mirror(true);
    // The public board starts as the hall's board opens, on the console's
    // field number; then it follows every change.
    m_board->open(field("Text5")->text(), control<QCheckBox>("Check11")->isChecked());
    m_browser->restore(serve);
}

void Kata::showEvent(QShowEvent *event)
{
    // The first time, once its menu bar has its height: centred on the screen.
    if (!m_placed) {
        m_placed = true;
        adjustSize();
        if (const QScreen *screen = this->screen())
            move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameGeometry().size(),
                                     screen->availableGeometry())
                     .topLeft());
    }
    QMainWindow::showEvent(event);
}

void Kata::closeEvent(QCloseEvent *event)
{
    if (const int waiting = m_competition->waiting(); waiting > 0
        && !m_platform.messages->ask(this,
                                     (waiting == 1 ? tr("1 decision is") : tr("%1 decisions are").arg(waiting))
                                         + tr(" not yet written to the results file: %1\nClose anyway? "
                                              "What is not written is lost.")
                                               .arg(m_trouble))) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

Kata::~Kata() = default;

void Kata::buildMenu()
{
    QMenu *menu = menuBar()->addMenu(ui::qs(kMenuCaption));
    menu->setObjectName(ui::qs(kMenuName));
    for (const MenuEntry &entry : menuEntries()) {
        QAction *action = entry.caption == "-" ? menu->addSeparator() : menu->addAction(ui::qs(entry.caption));
        action->setObjectName(ui::qs(entry.name));
    }
    connect(findChild<QAction *>(QStringLiteral("cl")), &QAction::triggered, this, &Kata::closeProgram);
}

void Kata::setOuterHeight(int twips)
{
    m_outerHeight = twips;
    const int clientHeight = twips > settings::kOuterHeightClosed ? kClientHeightSetupOpen : kClientHeightSetupClosed;
    m_client->setFixedSize(ui::px(kClientWidth), ui::px(clientHeight));
    // Controls cut off from view take no keyboard focus.
    const QRect inView = m_client->rect();
    for (QWidget *frame : m_client->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        frame->setEnabled(inView.contains(frame->geometry()));
}

void Kata::arrange(Arrangement arrangement)
{
    for (const LeftEdge &edge : leftEdges(arrangement)) {
        QWidget *widget = ui::named(m_client, edge.control);
        widget->move(ui::px(edge.left), widget->y());
    }
}

void Kata::mirror(bool mirrored) { arrange(mirrored ? Arrangement::Mirrored : Arrangement::Normal); }

void Kata::openScoreboard()
{
    // The hall's board opens as a board opens: no decision and no clock
    // until the next choice and the next Start.
    if (const std::optional<scoreboard::Scales> scales = m_scoreboard->closeForOpening()) {
        m_board->open(field("Text5")->text(), control<QCheckBox>("Check11")->isChecked());
        m_scoreboard->open(*scales);
    }
}

void Kata::closeScoreboard() { m_scoreboard->close(); }

void Kata::publishDecision()
{
    const decision::FlagCounts counts = m_decision->counts();
    m_board->setCounts(counts.red, counts.blue);
}

void Kata::resetTime() { m_clock->reset(); }
void Kata::stopClock() { m_clock->stop(); }

void Kata::resetMatch()
{
    resetTime();
    m_decision->clearRed();
    m_decision->clearBlue();
    publishDecision();
}

void Kata::playWarning() { playSignal("waarwav", platform::Signal::Warning); }
void Kata::playEnd() { playSignal("eindwav", platform::Signal::End); }

void Kata::playSignal(const char *field, platform::Signal signal)
{
    if (m_platform.sounds)
        m_platform.sounds->play(ui::named<QLineEdit>(m_client, field)->text(), signal);
}

void Kata::closeProgram()
{
    if (close())
        m_scoreboard->close();
}

} // namespace console
