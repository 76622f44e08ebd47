#pragma once

#include "browserboard/serving.h"

#include <QWidget>

namespace browserboard {

class BrowserBoard;

// The browser scoreboard's window: on or off, the port and where to
// listen, and, large and selectable, the addresses to type into a browser,
// best first, found anew whenever it opens.
// Switching on takes the port and place as they stand; while it serves
// they cannot be changed.
class Webbord : public QWidget {
    Q_OBJECT
public:
    Webbord(BrowserBoard &board, QWidget *console);

private:
    void fromBoard();
    void toggled(bool on);
    void listAddresses(const QString &chosen);

    BrowserBoard &m_board;
    qreal m_addressPoints; // the design's size of the addresses' font
};

} // namespace browserboard
