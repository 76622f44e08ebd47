#pragma once

#include "board/publicboard.h"
#include "platform/platform.h"
#include "scoreboard/scaling.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>
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

// The external scoreboard, the hall's view of the board model: its single
// window, opening (scaled to the display right of the main one), mirroring
// and closing. While open it shows what the model holds and follows each of
// its changes, repainting only the element that changed; closing discards
// the window with everything in it.
class Scoreboard : public QObject {
    Q_OBJECT
public:
    Scoreboard(const ConsoleFields &fields, const board::PublicBoard &model, const platform::Platform &platform,
               QWidget *console);
    ~Scoreboard() override;

    // The window while there is one, else nullptr.
    Kabord *current() const { return m_board; }
    bool isOpen() const;

    // Closes the scoreboard: the window leaves the screen and everything
    // in it is dropped. Nothing happens when there is none.
    void close();

    // Closes the window there is and reads the scales for a new one: none,
    // with the operator told why, where one of them is zero.
    std::optional<Scales> closeForOpening();
    // Opens the window anew with `scales` on the display right of the main
    // one, showing what the model holds (mirrored as it says).
    void open(const Scales &scales);

private:
    QScreen *targetScreen() const;
    void discardBoard(bool later);
    void mirrorElements(Kabord &board);
    // What the model holds, element by element, into the open window.
    void showCounts();
    void showDigit(board::Digit digit);
    void showClockColour();
    void showClockShown();
    void showFieldNumber();
    void showPerformers();
    void showAll();

    ConsoleFields m_fields;
    const board::PublicBoard &m_model;
    platform::Platform m_platform;
    QWidget *m_console;
    Kabord *m_board = nullptr;
    // Discarded windows waiting for the event loop to delete them.
    std::vector<QPointer<Kabord>> m_discarded;
};

} // namespace scoreboard
