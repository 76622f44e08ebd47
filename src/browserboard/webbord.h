#pragma once

#include "browserboard/serving.h"

#include <QWidget>

namespace browserboard {

class BrowserBoard;

// The browser scoreboard's window: on or off, the port and where to
// listen, and, large and selectable, the addresses to type into a browser.
// Switching on takes the port and place as they stand; while it serves
// they cannot be changed.
class Webbord : public QWidget {
    Q_OBJECT
public:
    Webbord(BrowserBoard &board, QWidget *console);

private:
    void fromBoard();
    void toggled(bool on);

    BrowserBoard &m_board;
};

} // namespace browserboard
