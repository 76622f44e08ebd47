#pragma once

#include "timer/clockrules.h"

namespace board {
class PublicBoard;
}

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;
class QTimer;
class QWidget;

namespace timer {

// The console's controls of the match clock.
struct ClockControls {
    QLabel *minutes;       // Label1
    QLabel *tens;          // Label2
    QLabel *units;         // Label3
    QWidget *start;        // Command4
    QWidget *stop;         // Command5
    QTimer *timer;         // Timer1
    QLineEdit *setMinutes; // Text1
    QLineEdit *setSeconds; // Text6
};

// The two sound signals.
struct ClockSignals {
    std::function<void()> warning; // ten seconds left
    std::function<void()> end;     // the end of the match
};

// Milliseconds of a clock that only goes forward (platform::monotonicMs).
using Monotonic = std::function<std::int64_t()>;

// The match clock: counts down once a second on the console and on the
// public board, sounds the warning at 0:10 and the end at 0:00. Its state is
// the text of the console's three digit labels, whether it runs, and when
// it was started.
//
// A running clock shows the time that has really passed: each tick is due a
// whole number of seconds after Start, by the monotonic clock, and a tick
// that comes late (the program was held up, the machine slept) counts every
// second that was due, the warning and the end included.
class MatchClock : public QObject {
    Q_OBJECT
public:
    MatchClock(const ClockControls &controls, board::PublicBoard &board, ClockSignals sounds, Monotonic now,
               QObject *parent);

    bool isRunning() const { return m_running; }

    void start(); // Command4, Start; nothing at the end of the match
    void stop();  // Command5, Stop; the end of the match; a reset
    void tick();  // Timer1: counts the seconds due since the last tick
    void reset(); // loads the set time; the public clock hidden until Start

private:
    void show(const TickResult &next);

    ClockControls m_console;
    board::PublicBoard &m_board;
    ClockSignals m_sounds;
    Monotonic m_now;
    bool m_running = false;
    std::int64_t m_startedAt = 0; // ms, by m_now
    std::int64_t m_counted = 0;   // seconds counted since then
};

} // namespace timer
