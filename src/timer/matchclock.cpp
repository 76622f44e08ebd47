#include "timer/matchclock.h"

#include "board/publicboard.h"
#include "timer/clockrules.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>

namespace timer {

namespace {

std::string text(const QLabel *label) { return label->text().toStdString(); }

QString qtext(long long value) { return QString::fromStdString(digitText(value)); }

// The first and the last character of a text (a character, not half of one).
QString firstCharacter(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text.left(text.size() > 1 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate() ? 2 : 1);
}

QString lastCharacter(const QString &text)
{
    if (text.isEmpty())
        return {};
    const qsizetype n = text.size();
    return text.right(n > 1 && text.at(n - 1).isLowSurrogate() && text.at(n - 2).isHighSurrogate() ? 2 : 1);
}

} // namespace

MatchClock::MatchClock(const ClockControls &controls, board::PublicBoard &board, ClockSignals sounds, Monotonic now,
                       QObject *parent)
    : QObject(parent), m_console(controls), m_board(board), m_sounds(std::move(sounds)), m_now(std::move(now))
{
    // Timer1 is set, tick by tick, for the moment the next second is due.
    m_console.timer->setTimerType(Qt::PreciseTimer);
    m_console.timer->setSingleShot(true);
    connect(m_console.timer, &QTimer::timeout, this, &MatchClock::tick);
}

void MatchClock::start()
{
    if (!canStart(readClock(text(m_console.minutes), text(m_console.tens), text(m_console.units))))
        return;
    m_running = true;
    m_startedAt = m_now();
    m_counted = 0;
    m_console.timer->start(1000); // a whole second after Start
    m_console.stop->show();
    m_console.start->hide();
    m_board.setClockShown(true);
    m_board.write(board::Digit::Minutes, m_console.minutes->text());
    m_board.write(board::Digit::Tens, m_console.tens->text());
    m_board.write(board::Digit::Units, m_console.units->text());
}

void MatchClock::stop()
{
    m_running = false;
    m_console.timer->stop();
    m_console.start->show();
    m_console.stop->hide();
}

void MatchClock::tick()
{
    if (!m_running)
        return;
    const std::int64_t due = (m_now() - m_startedAt) / 1000;
    if (due > m_counted) {
        const long long seconds = due - m_counted;
        m_counted = due;
        show(advance(readClock(text(m_console.minutes), text(m_console.tens), text(m_console.units)), seconds));
    }
    if (m_running) { // not ended: on to the next whole second
        const std::int64_t wait = m_startedAt + (m_counted + 1) * 1000 - m_now();
        m_console.timer->start(int(std::clamp<std::int64_t>(wait, 1, 1000)));
    }
}

void MatchClock::show(const TickResult &next)
{
    const QString tens = qtext(next.value.tens);
    const QString units = qtext(next.value.units);
    const QString minutes = qtext(next.value.minutes);
    m_board.write(board::Digit::Tens, tens);
    m_board.write(board::Digit::Units, units);
    m_console.tens->setText(tens);
    m_console.units->setText(units);
    m_board.write(board::Digit::Minutes, minutes);
    m_console.minutes->setText(minutes);

    if (next.signal == TickSignal::Warning) {
        // The new digits are on screen before the sound starts: repainting
        // one digit at once paints every change waiting in its window.
        m_console.tens->repaint();
        m_board.showNow();
        m_sounds.warning();
        m_board.setClockColour(kWarningDigits);
    } else if (next.signal == TickSignal::End) {
        m_console.tens->repaint();
        m_board.showNow();
        stop();
        m_sounds.end();
        m_board.setClockColour(kNormalDigits);
    }
}

void MatchClock::reset()
{
    stop();
    m_board.setClockColour(kNormalDigits);
    const QString minutes = m_console.setMinutes->text();
    const QString seconds = m_console.setSeconds->text();
    m_console.minutes->setText(minutes);
    m_console.tens->setText(firstCharacter(seconds));
    m_console.units->setText(lastCharacter(seconds));
    m_board.write(board::Digit::Minutes, minutes);
    m_board.write(board::Digit::Tens, firstCharacter(seconds));
    m_board.write(board::Digit::Units, lastCharacter(seconds));
    m_board.setClockShown(false);
}

} // namespace timer
