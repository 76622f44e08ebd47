#include "scoreboard/scoreboard.h"

#include "common/numeric.h"
#include "scoreboard/boarddesign.h"
#include "scoreboard/kabord.h"
#include "scoreboard/scaling.h"
#include "ui/colours.h"
#include "ui/twips.h"
#include "ui/widgets.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScreen>
#include <algorithm>

namespace scoreboard {

namespace {

double valueOf(const QLineEdit *field) { return common::numericValue(field->text().toStdString()); }

QString qs(const std::string &text) { return QString::fromStdString(text); }

// The elements of the control array Label1 that show the clock's digits.
int labelOf(board::Digit digit) { return digit == board::Digit::Minutes ? 7 : digit == board::Digit::Tens ? 0 : 6; }

void place(Kabord &board, const std::vector<Placed> &layout)
{
    for (const Placed &p : layout) {
        QWidget *widget = board.element(p.name);
        const int x = safePixels(p.left);
        const int y = safePixels(p.top);
        if (p.kind == ui::Kind::BoardLabel) {
            // A label takes the size of its text in the new font.
            widget->move(x, y);
            static_cast<ui::AutoLabel *>(widget)->setPoints(p.points);
            continue;
        }
        const int right = safePixels(double(p.left) + double(p.width));
        const int bottom = safePixels(double(p.top) + double(p.height));
        widget->setGeometry(x, y, std::max(0, right - x), std::max(0, bottom - y));
        if (p.kind == ui::Kind::FittedText) // its text fits the new box
            static_cast<ui::FittedLabel *>(widget)->setPoints(p.points);
    }
}

} // namespace

Scoreboard::Scoreboard(const ConsoleFields &fields, const board::PublicBoard &model, const platform::Platform &platform,
                       QWidget *console)
    : QObject(console), m_fields(fields), m_model(model), m_platform(platform), m_console(console)
{
    // A display that goes away takes the scoreboard with it, closed as
    // "Close Scoreboard" closes it, rather than letting the window system
    // move it over the operator's console.
    // The same where the console's display goes: the window system would
    // move the console under the full-screen scoreboard.
    connect(m_platform.displays, &platform::Displays::removed, this, [this](QScreen *screen) {
        if (isOpen() && (m_board->screen() == screen || m_console->screen() == screen))
            close();
    });
    using board::PublicBoard;
    connect(&m_model, &PublicBoard::countsChanged, this, &Scoreboard::showCounts);
    connect(&m_model, &PublicBoard::digitChanged, this, &Scoreboard::showDigit);
    connect(&m_model, &PublicBoard::clockColourChanged, this, &Scoreboard::showClockColour);
    connect(&m_model, &PublicBoard::clockShownChanged, this, &Scoreboard::showClockShown);
    connect(&m_model, &PublicBoard::fieldNumberChanged, this, &Scoreboard::showFieldNumber);
    connect(&m_model, &PublicBoard::performersChanged, this, &Scoreboard::showPerformers);
    connect(&m_model, &PublicBoard::opened, this, &Scoreboard::showAll);
    // Repainting one digit at once paints every change waiting in the window.
    connect(&m_model, &PublicBoard::showNowAsked, this, [this] {
        if (isOpen())
            m_board->label(labelOf(board::Digit::Tens))->repaint();
    });
}

Scoreboard::~Scoreboard()
{
    delete m_board;
    for (const QPointer<Kabord> &board : m_discarded)
        delete board.data();
}

bool Scoreboard::isOpen() const { return m_board && m_board->isVisible(); }

void Scoreboard::close() { discardBoard(false); }

void Scoreboard::discardBoard(bool later)
{
    if (!m_board)
        return;
    Kabord *board = std::exchange(m_board, nullptr);
    board->disconnect(this);
    // Where it was the last window (the console closed through its frame),
    // the program ends with it as it goes.
    if (!later) {
        delete board;
        return;
    }
    board->deleteLater();
    std::erase_if(m_discarded, [](const QPointer<Kabord> &b) { return b.isNull(); });
    m_discarded.emplace_back(board);
}

void Scoreboard::mirrorElements(Kabord &board)
{
    for (const MirroredLeft &m : mirroredLefts()) {
        QWidget *widget = board.element(m.name);
        widget->move(ui::px(m.left), widget->y());
    }
}

QScreen *Scoreboard::targetScreen() const
{
    const QList<QScreen *> screens = m_platform.displays->screens();
    std::vector<Area> areas;
    areas.reserve(std::size_t(screens.size()));
    for (const QScreen *screen : screens) {
        const QRect g = screen->geometry();
        areas.push_back(Area{g.x(), g.y(), g.width(), g.height()});
    }
    const int target = targetDisplay(areas, int(screens.indexOf(m_platform.displays->main())));
    return target >= 0 ? screens[target] : nullptr;
}

std::optional<Scales> Scoreboard::closeForOpening()
{
    close();
    const Scales scales{valueOf(m_fields.hsch), valueOf(m_fields.vsch), valueOf(m_fields.fsch)};
    if (!anyScaleZero(scales))
        return scales;
    m_platform.messages->show(m_console, platform::MessageIcon::Warning,
                              QStringLiteral("Scale can not be zero in setup parameters"));
    return std::nullopt;
}

void Scoreboard::open(const Scales &scales)
{
    close();
    m_board = new Kabord;
    Kabord &board = *m_board;
    // Asked from within its own click or close event, it must outlive that
    // event: the event loop deletes it.
    connect(m_board, &Kabord::closeRequested, this, [this] { discardBoard(true); });
    const bool mirrored = m_model.state().mirrored;
    if (mirrored)
        mirrorElements(board);

    // The scoreboard fills the display right of the main one.
    QScreen *target = targetScreen();
    const QRect area = target ? target->geometry() : board.geometry();
    if (target)
        board.setScreen(target);
    board.setGeometry(area);
    board.setWindowState(Qt::WindowFullScreen);

    const int width = ui::twips(area.width());
    const int height = ui::twips(area.height());
    m_fields.sbtxt->setText(QString::number(width));
    m_fields.shtxt->setText(QString::number(height));

    place(board, scaleDesign(boardDesign(), valueOf(m_fields.sbtxt), valueOf(m_fields.shtxt), scales, mirrored));
    board.label(4)->setCentred(true); // the field number grows about its middle
    showAll();
    board.show();
}

void Scoreboard::showAll()
{
    showCounts();
    for (board::Digit digit : {board::Digit::Tens, board::Digit::Units, board::Digit::Minutes})
        showDigit(digit);
    showClockColour();
    showClockShown();
    showFieldNumber();
    showPerformers();
}

void Scoreboard::showCounts()
{
    if (!m_board)
        return;
    m_board->redCount()->setText(QString::number(m_model.state().red));
    m_board->blueCount()->setText(QString::number(m_model.state().blue));
}

void Scoreboard::showDigit(board::Digit digit)
{
    if (!m_board)
        return;
    const board::State &state = m_model.state();
    const std::string &text = digit == board::Digit::Minutes ? state.minutes
        : digit == board::Digit::Tens                        ? state.tens
                                                             : state.units;
    m_board->label(labelOf(digit))->setText(qs(text));
}

void Scoreboard::showClockColour()
{
    if (!m_board)
        return;
    for (int index : {7, 5, 0, 6})
        m_board->label(index)->setTextColour(ui::toQColor(m_model.state().clockColour));
}

void Scoreboard::showClockShown()
{
    if (!m_board)
        return;
    for (std::string_view name : kClockGroup)
        m_board->element(name)->setVisible(m_model.state().clockShown);
}

void Scoreboard::showPerformers()
{
    if (!m_board)
        return;
    const board::Performers &who = m_model.state().performers;
    const std::string *texts[] = {&who.blueName, &who.blueClub, &who.redName, &who.redClub, &who.bout};
    for (std::size_t i = 0; i < std::size(kPerformerNames); ++i) {
        auto *label = static_cast<ui::FittedLabel *>(m_board->element(kPerformerNames[i]));
        label->setText(qs(*texts[i]));
        label->setVisible(!texts[i]->empty()); // an empty one shows nowhere
    }
}

void Scoreboard::showFieldNumber()
{
    if (m_board)
        m_board->label(4)->setText(qs(m_model.state().fieldNumber));
}

} // namespace scoreboard
