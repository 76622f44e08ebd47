#pragma once

#include "platform/platform.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

class QCheckBox;
class QLineEdit;
class QWidget;

namespace scoreboard {

class Kabord;

// The console's fields that opening the scoreboard reads and writes.
struct ConsoleFields {
    QLineEdit *hsch;        // horizontal scale
    QLineEdit *vsch;        // vertical scale
    QLineEdit *fsch;        // font scale
    QCheckBox *external;    // Check11: mirror the scoreboard
    QLineEdit *fieldNumber; // Text5
    QLineEdit *sbtxt;       // receives the measured width in twips
    QLineEdit *shtxt;       // receives the measured height in twips
};

// The clock digits of the scoreboard: elements of its Label1 array.
enum class ClockDigit { Tens = 0, Units = 6, Minutes = 7 };

// The external scoreboard: its single instance, opening (scaled to the
// display right of the main one), mirroring, closing, and the writers of
// everything it shows. Any write creates the instance, hidden, in its
// design state; only startscb() shows it; closing and every opening
// discard it with everything written into it.
class Scoreboard : public QObject {
    Q_OBJECT
public:
    Scoreboard(const ConsoleFields &fields, const platform::Platform &platform, QWidget *console);
    ~Scoreboard() override;

    // The single instance, created hidden in its design state if there is none.
    Kabord &instance();
    // The instance if there is one, else nullptr; creates nothing.
    Kabord *current() const { return m_board; }
    bool isOpen() const;

    // Closes the scoreboard: the window leaves the screen and everything
    // written into it is dropped. Nothing happens when there is none.
    void discard();

    // Opens the scoreboard on the display right of the main one, scaled to it.
    void startscb();
    // Red to the left: eight fixed left edges, in design twips.
    void katamirror();

    // Publishes a decision: the red and blue flag counts, 0 for no choice.
    void scorebord(int red, int blue);
    // "Set": the field number, character for character.
    void setFieldNumber(const QString &text);

    // The clock group as the match clock drives it.
    void writeClock(ClockDigit digit, const QString &text);
    void setClockColour(const QColor &colour);
    void setClockShown(bool shown);
    // Paints a digit at once, before a sound starts.
    void repaintClock(ClockDigit digit);

signals:
    void opened();

private:
    QScreen *targetScreen() const;
    void discardBoard(bool later);

    ConsoleFields m_fields;
    platform::Platform m_platform;
    QWidget *m_console;
    Kabord *m_board = nullptr;
    // Discarded instances waiting for the event loop to delete them.
    std::vector<QPointer<Kabord>> m_discarded;
};

} // namespace scoreboard
