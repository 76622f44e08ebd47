#pragma once

#include <QObject>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace about {

// The About window: white, of a fixed size, built from its design. It
// opens centred on its screen; "Close" closes it, and a closed one is gone.
// It is a window of its own, without parent: left open when the console
// closes, it keeps the program running until it is closed too.
class Overfrm : public QWidget {
    Q_OBJECT
public:
    Overfrm();

    // Shows it the first time, centred on `screen` (none: its own).
    void openOn(QScreen *screen);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void centre();

    QPointer<QScreen> m_home;
    bool m_placed = false;
};

// The console's "About": at most one About window, not modal.
class About : public QObject {
    Q_OBJECT
public:
    // `console` is the window whose screen the About window opens on; the
    // About window goes when this goes.
    explicit About(QWidget *console);
    ~About() override;

    // Opens the About window, or brings the open one to the front.
    void show();
    // The open About window, if there is one.
    Overfrm *window() const { return m_window; }

private:
    QWidget *m_console;
    QPointer<Overfrm> m_window;
};

} // namespace about
