#pragma once

#include "browserboard/serving.h"
#include "console/arrangement.h"
#include "platform/platform.h"
#include "ui/design.h"

#include <QMainWindow>
#include <QPointer>
#include <optional>

class QAction;
class QLineEdit;

namespace board {
class PublicBoard;
}
namespace browserboard {
class BrowserBoard;
}
namespace competition {
class Competition;
struct CurrentBout;
} // namespace competition
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

// The operator console: the program's main window and the mediator. It owns
// the operator's state in its controls and the public board's model; it
// makes the subsystems, hands each its controls, and wires them together.
class Kata : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs its start-up. `serve` (the command line's
    // --serve) switches the browser board on instead of browser.ini.
    explicit Kata(const platform::Platform &platform, std::optional<browserboard::ServeChoice> serve = {},
                  QWidget *parent = nullptr);
    ~Kata() override;

    // "Internal": red (Aka) on the right of the main panel; else on the left.
    void mirror(bool mirrored);

    // Opens the hall's scoreboard anew, or closes it; publishes the
    // decision to the public board.
    void openScoreboard();
    void closeScoreboard();
    void publishDecision();

    // The match: the clock's reset and stop, the whole match's reset, and
    // the two sound signals.
    void resetTime();
    void stopClock();
    void resetMatch();
    void playWarning();
    void playEnd();

    // The bout list: a file the operator picks, or `path`, loaded as the
    // current list (messages name what is wrong; the list there stays).
    void chooseBoutList();
    bool loadBoutList(const QString &path);
    // Records the current bout's decision and moves on to the next bout;
    // back to the one before, nothing recorded.
    void nextBout();
    void previousBout();
    // The "Bouts..." window, opened or brought to the front; `bout` made the
    // current one (flags chosen and not recorded are asked about).
    void showBouts();
    void chooseBout(const competition::CurrentBout &bout);
    // The results as a CSV file where the operator says; as a PDF sheet,
    // then shown in the system's viewer to print.
    void exportResults();
    void printResults();

    // The window's outer height in twips, as the design counts it: the client
    // area plus the frame, caption and menu bar. Decides whether the setup
    // strip is in view.
    int outerHeight() const { return m_outerHeight; }
    void setOuterHeight(int twips);

    // The client area below the menu bar, which holds every control.
    QWidget *client() const { return m_client; }
    board::PublicBoard &publicBoard() const { return *m_board; }
    decision::DecisionPanel &decision() const { return *m_decision; }
    settings::SetupPanel &setup() const { return *m_setup; }
    scoreboard::Scoreboard &scoreboard() const { return *m_scoreboard; }
    timer::MatchClock &clock() const { return *m_clock; }
    browserboard::BrowserBoard &browser() const { return *m_browser; }
    competition::Competition &competition() const { return *m_competition; }
    QWidget *boutsWindow() const { return m_bouts; }

protected:
    void showEvent(QShowEvent *event) override;
    // Decisions not yet in the results file are lost when the program ends:
    // it asks first.
    void closeEvent(QCloseEvent *event) override;

private:
    // The start-up, subsystem by subsystem: each is made, handed the
    // controls and services it needs, and wired to the others.
    void buildWindow();
    void makeDecision();
    void makeSetup();
    void makeScoreboard();
    void makeBrowserBoard();
    void makeClock();
    void makeSounds();
    void makeCompetition();
    void showBout();
    void filterEntries();
    void startUp(const std::optional<browserboard::ServeChoice> &serve);
    template <typename T = QWidget> T *control(const char *name) const { return ui::named<T>(m_client, name); }
    QLineEdit *field(const char *name) const;
    QAction *entry(const char *name) const;

    void arrange(Arrangement arrangement);
    void buildMenu();
    void closeProgram();
    void playSignal(const char *field, platform::Signal signal); // the file named in `field`
    // Where the results go, asked of the operator; nothing without a list.
    std::optional<QString> resultsFile(const QString &title, const QString &fileName, const QString &filter);

    platform::Platform m_platform;
    QWidget *m_client;
    board::PublicBoard *m_board;
    int m_outerHeight = 0;
    bool m_placed = false;
    decision::DecisionPanel *m_decision = nullptr;
    settings::SetupPanel *m_setup = nullptr;
    scoreboard::Scoreboard *m_scoreboard = nullptr;
    timer::MatchClock *m_clock = nullptr;
    browserboard::BrowserBoard *m_browser = nullptr;
    competition::Competition *m_competition = nullptr;
    QPointer<QWidget> m_bouts; // the "Bouts..." window, while it is open
    QString m_trouble;         // the results file's, shown in the bout's line until it is over
};

} // namespace console
