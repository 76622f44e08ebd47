#include "console/console.h"

#include "about/about.h"
#include "browserboard/browserboard.h"
#include "console/consoledesign.h"
#include "console/keys.h"
#include "decision/decisionpanel.h"
#include "scoreboard/scoreboard.h"
#include "settings/setuppanel.h"
#include "settings/setupstrip.h"
#include "timer/entryfilter.h"
#include "timer/matchclock.h"
#include "ui/design.h"
#include "ui/pushbutton.h"
#include "platform/sound.h"
#include "ui/twips.h"

#include <QAction>
#include <QCheckBox>
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
    : QMainWindow(parent), m_platform(platform), m_client(new QWidget(this))
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
    ui::build(m_client, rightColumn());
    ui::build(m_client, setupStrip());
    ui::build(m_client, offscreenFields());
    for (const char *name : {"sbtxt", "shtxt"})
        ui::named(m_client, name)->setFocusPolicy(Qt::NoFocus);
    buildMenu();

    // The match clock ticks once a second while it runs.
    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(1000);

    m_decision = new decision::DecisionPanel(m_client);
    m_setup = new settings::SetupPanel(m_client, m_platform,
                                       {[this] { return outerHeight(); }, [this](int h) { setOuterHeight(h); }});
    auto field = [this](const char *name) { return ui::named<QLineEdit>(m_client, name); };
    m_scoreboard = new scoreboard::Scoreboard(
        {field("hsch"), field("vsch"), field("fsch"), ui::named<QCheckBox>(m_client, "Check11"), field("Text5"),
         field("sbtxt"), field("shtxt")},
        m_platform, this);
    // The scoreboard's twin for the browsers takes every write the scoreboard takes.
    m_browser = new browserboard::BrowserBoard(m_platform, this);
    auto button = [this](const char *name) { return ui::named<ui::PushButton>(m_client, name); };
    auto entry = [this](const char *name) { return findChild<QAction *>(QLatin1String(name)); };
    auto external = ui::named<QCheckBox>(m_client, "Check11");

    connect(entry("su"), &QAction::triggered, m_setup, &settings::SetupPanel::openFromMenu);
    connect(entry("over"), &QAction::triggered, new about::About(this), &about::About::show);
    connect(entry("webbord"), &QAction::triggered, m_browser, &browserboard::BrowserBoard::showWindow);

    // Every flag choice is published to the scoreboard.
    connect(m_decision, &decision::DecisionPanel::decisionMade, this, &Kata::scorebord);
    // Opening and closing the scoreboard; "External" closes it, so that the
    // new choice shows at the next opening.
    connect(button("command1"), &ui::PushButton::clicked, this, &Kata::startscb);
    connect(entry("startext"), &QAction::triggered, this, &Kata::startscb);
    connect(button("Command2"), &ui::PushButton::clicked, m_scoreboard, &scoreboard::Scoreboard::discard);
    connect(entry("closeext"), &QAction::triggered, m_scoreboard, &scoreboard::Scoreboard::discard);
    connect(external, &QCheckBox::toggled, m_scoreboard, &scoreboard::Scoreboard::discard);
    connect(external, &QCheckBox::toggled, m_browser, &browserboard::BrowserBoard::setMirrored);
    connect(m_scoreboard, &scoreboard::Scoreboard::opened, m_browser,
            [this, external, number = field("Text5")] { m_browser->opened(number->text(), external->isChecked()); });
    // "Set" sends the field number as it stands.
    connect(button("command12"), &ui::PushButton::clicked, this, [this, number = field("Text5")] {
        m_scoreboard->setFieldNumber(number->text());
        m_browser->setFieldNumber(number->text());
    });

    // The match clock, with its copy on the scoreboard and its two signals.
    auto label = [this](const char *name) { return ui::named<QLabel>(m_client, name); };
    auto boardDigit = [](timer::BoardDigit digit) {
        return digit == timer::BoardDigit::Minutes ? scoreboard::ClockDigit::Minutes
            : digit == timer::BoardDigit::Tens     ? scoreboard::ClockDigit::Tens
                                                   : scoreboard::ClockDigit::Units;
    };
    auto browserDigit = [](timer::BoardDigit digit) {
        return digit == timer::BoardDigit::Minutes ? browserboard::Digit::Minutes
            : digit == timer::BoardDigit::Tens     ? browserboard::Digit::Tens
                                                   : browserboard::Digit::Units;
    };
    timer::BoardClock board{
        [this, boardDigit, browserDigit](timer::BoardDigit d, const QString &text) {
            m_scoreboard->writeClock(boardDigit(d), text);
            m_browser->writeClock(browserDigit(d), text);
        },
        [this](const QColor &colour) {
            m_scoreboard->setClockColour(colour);
            m_browser->setClockColour(colour);
        },
        [this](bool shown) {
            m_scoreboard->setClockShown(shown);
            m_browser->setClockShown(shown);
        },
        [this, boardDigit](timer::BoardDigit d) { m_scoreboard->repaintClock(boardDigit(d)); }};
    m_clock = new timer::MatchClock({label("Label1"), label("Label2"), label("Label3"), button("Command4"),
                                     button("Command5"), timer, field("Text1"), field("Text6")},
                                    std::move(board), {[this] { waargeluid(); }, [this] { eindgeluid(); }},
                                    m_platform.monotonic, this);
    connect(button("Command4"), &ui::PushButton::clicked, m_clock, &timer::MatchClock::start);
    connect(button("Command5"), &ui::PushButton::clicked, this, &Kata::stoppen);
    connect(button("command6"), &ui::PushButton::clicked, this, &Kata::resettim);
    connect(entry("restime"), &QAction::triggered, this, &Kata::resettim);
    connect(button("command3"), &ui::PushButton::clicked, this, &Kata::resetw);
    connect(entry("resmatch"), &QAction::triggered, this, &Kata::resetw);
    connect(button("MyButton3"), &ui::PushButton::clicked, this, &Kata::waargeluid);
    connect(button("MyButton2"), &ui::PushButton::clicked, this, &Kata::eindgeluid);
    // The player gets each file ready as soon as it is named: when it is
    // typed, picked or restored, long before the clock asks for it.
    for (const auto &[name, signal] : {std::pair{"waarwav", platform::Signal::Warning}, std::pair{"eindwav", platform::Signal::End}})
        connect(field(name), &QLineEdit::textChanged, this, [this, signal](const QString &path) {
            if (m_platform.sounds)
                m_platform.sounds->choose(signal, path);
        });

    // Only whole numbers go into the time and field-number fields.
    auto *entryFilter = new timer::EntryFilter(*m_platform.messages, this);
    for (const char *name : {"Text1", "Text6", "Text5"})
        entryFilter->watch(field(name));
    timer::keepMinutesToOneDigit(field("Text1"));

    installKeys(*this);

    connect(ui::named<QCheckBox>(m_client, "Check10"), &QCheckBox::toggled, this, [this](bool checked) {
        if (checked)
            katasp();
        else
            kataonsp();
    });
    connect(ui::named<ui::PushButton>(m_client, "command14"), &ui::PushButton::clicked, this,
            &Kata::closeProgram);

    // Start-up.
    setOuterHeight(settings::kOuterHeightClosed);
    for (const char *name : {"Command4", "Command5"}) {
        QWidget *button = ui::named(m_client, name);
        button->move(ui::px(kStartStopLeft), button->y());
    }
    ui::named(m_client, "Command4")->raise(); // Start lies on top of Stop
    m_setup->restore(); // checking Internal mirrors the console at once
    if (ui::named<QCheckBox>(m_client, "Check10")->isChecked())
        katasp();
    // The browsers start from a board as it opens, on the console's field
    // number; then they follow every change.
    m_browser->opened(field("Text5")->text(), external->isChecked());
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
    const int clientHeight = twips > settings::kOuterHeightClosed ? kClientHeightSetupOpen
                                                                 : kClientHeightSetupClosed;
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

void Kata::kataonsp() { arrange(Arrangement::Normal); }
void Kata::katasp() { arrange(Arrangement::Mirrored); }

void Kata::startscb() { m_scoreboard->startscb(); }

void Kata::scorebord()
{
    const decision::FlagCounts counts = m_decision->counts();
    m_scoreboard->scorebord(counts.red, counts.blue);
    m_browser->setCounts(counts.red, counts.blue);
}

void Kata::resettim() { m_clock->resettim(); }
void Kata::stoppen() { m_clock->stoppen(); }

void Kata::resetw()
{
    resettim();
    m_decision->resetscorerood();
    m_decision->resetscoreblauw();
    scorebord();
}

void Kata::waargeluid() { playSignal("waarwav", platform::Signal::Warning); }
void Kata::eindgeluid() { playSignal("eindwav", platform::Signal::End); }

void Kata::playSignal(const char *field, platform::Signal signal)
{
    if (m_platform.sounds)
        m_platform.sounds->play(ui::named<QLineEdit>(m_client, field)->text(), signal);
}

void Kata::closeProgram()
{
    m_scoreboard->discard();
    close();
}

} // namespace console
