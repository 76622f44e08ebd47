#pragma once

#include "board/boardstate.h"

#include <QObject>
#include <QString>

namespace board {

// The board model: what the public sees, written once by the console and
// rendered by every view (the hall's scoreboard window, the browser board).
// Each change is announced once, by what changed, and again as changed();
// a write that changes nothing announces nothing. It knows no window.
class PublicBoard : public QObject {
    Q_OBJECT
public:
    explicit PublicBoard(QObject *parent = nullptr);

    const State &state() const { return m_state; }

    // The hall's scoreboard opens: the public sees a board as it opens.
    void open(const QString &fieldNumber, bool mirrored);
    void setCounts(int red, int blue);
    void write(Digit digit, const QString &text);
    void setClockColour(ui::BgrColour colour);
    void setClockShown(bool shown);
    void setFieldNumber(const QString &text);
    void setMirrored(bool mirrored);
    // The current bout's performers; empty ones show nowhere.
    void setPerformers(const Performers &performers);
    // The clock's digits must be on screen now, before a sound starts.
    void showNow() { emit showNowAsked(); }

signals:
    void opened();
    void countsChanged();
    void digitChanged(board::Digit digit);
    void clockColourChanged();
    void clockShownChanged();
    void fieldNumberChanged();
    void mirroredChanged();
    void performersChanged();
    void showNowAsked();
    void changed(); // after any of the above but showNowAsked()

private:
    void announce(bool didChange, void (PublicBoard::*signal)());

    State m_state = State::opened({}, false);
};

} // namespace board
