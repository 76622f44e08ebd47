#pragma once

#include "browserboard/serving.h"
#include "console/arrangement.h"
#include "platform/platform.h"

#include <QMainWindow>
#include <optional>

namespace browserboard {
class BrowserBoard;
}
namespace decision {
class DecisionPanel;
}
namespace settings {
class SetupPanel;
}
namespace scoreboard {
class Scoreboard;
}
namespace timer {
class MatchClock;
}
namespace platform {
enum class Signal;
}

namespace console {

// The operator console: the program's main window. It owns all of the
// program's state in its controls; the subsystems work on those controls.
class Kata : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs its start-up. `serve` (the command line's
    // --serve) switches the browser board on instead of browser.ini.
    explicit Kata(const platform::Platform &platform, std::optional<browserboard::ServeChoice> serve = {},
                  QWidget *parent = nullptr);
    ~Kata() override;

    // The two arrangements of the main panel.
    void kataonsp(); // red (Aka) on the left
    void katasp();   // red (Aka) on the right

    // Opens the external scoreboard; publishes the decision to it (and to
    // the browsers).
    void startscb();
    void scorebord();

    // The match: the clock's reset and stop, the whole match's reset, and
    // the two sound signals.
    void resettim();
    void stoppen();
    void resetw();
    void waargeluid();
    void eindgeluid();

    // The window's outer height in twips, as the design counts it: the client
    // area plus the frame, caption and menu bar. Decides whether the setup
    // strip is in view.
    int outerHeight() const { return m_outerHeight; }
    void setOuterHeight(int twips);

    // The client area below the menu bar, which holds every control.
    QWidget *client() const { return m_client; }
    decision::DecisionPanel &decision() const { return *m_decision; }
    settings::SetupPanel &setup() const { return *m_setup; }
    scoreboard::Scoreboard &scoreboard() const { return *m_scoreboard; }
    timer::MatchClock &clock() const { return *m_clock; }
    browserboard::BrowserBoard &browser() const { return *m_browser; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void arrange(Arrangement arrangement);
    void buildMenu();
    void closeProgram();
    void playSignal(const char *field, platform::Signal signal); // the file named in `field`

    platform::Platform m_platform;
    QWidget *m_client;
    int m_outerHeight = 0;
    bool m_placed = false;
    decision::DecisionPanel *m_decision = nullptr;
    settings::SetupPanel *m_setup = nullptr;
    scoreboard::Scoreboard *m_scoreboard = nullptr;
    timer::MatchClock *m_clock = nullptr;
    browserboard::BrowserBoard *m_browser = nullptr;
};

} // namespace console
