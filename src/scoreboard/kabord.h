#pragma once

#include <QWidget>
#include <string_view>

namespace ui {
class AutoLabel;
class Shape;
} // namespace ui

namespace scoreboard {

// The scoreboard window for the public: borderless, light grey, built from
// its design. It shows what the console writes into its elements and reacts
// to nothing but a click on one of its Label1 labels, which, like a close
// request of the window system, asks for it to be closed.
class Kabord : public QWidget {
    Q_OBJECT
public:
    Kabord();

    // Elements by their design name (scb, Image1, Frame1, ...).
    QWidget *element(std::string_view name) const;
    // Elements of the control arrays Label1 (0..7) and Shape5 (0..3).
    ui::AutoLabel *label(int index) const;
    ui::Shape *shape(int index) const;
    ui::AutoLabel *redCount() const;  // scr
    ui::AutoLabel *blueCount() const; // scb

signals:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
};

} // namespace scoreboard
