#pragma once

#include "competition/progress.h"

#include <QWidget>
#include <array>
#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class Messages;
}

namespace competition {

class Competition;

// The "Bouts..." window: every category and its bouts with who performs,
// the state and the result, the current bout highlighted. The operator finds
// a name as they type, makes any bout that can be performed the current one
// (the console decides, as flags may be chosen), goes on to the next bout,
// and corrects a decided bout's result (a new decision; the one before
// stays in the results file). It follows every change of the day.
class BoutsWindow : public QWidget {
    Q_OBJECT
public:
    BoutsWindow(Competition &competition, platform::Messages &messages, QWidget *parent);

protected:
    void showEvent(QShowEvent *event) override;

signals:
    void chosen(const competition::CurrentBout &bout);
    void nextRequested();

private:
    void refresh();
    void rebuild();
    void find(const QString &text);   // shows the bouts that hold it and selects the first
    void filter(const QString &text); // only shows them
    // The buttons for the bout chosen in the list; a bout newly chosen also
    // sets the correction's flags to its decision's.
    void updateControls(bool newSelection);
    void chooseSelected();
    void correctSelected();
    std::optional<CurrentBout> selected() const;
    const BoutRow *selectedRow() const;

    Competition &m_competition;
    platform::Messages &m_messages;
    QTreeWidget *m_tree;
    int m_listVersion = -1;               // of the list whose bouts the tree holds
    struct Shown {                        // a bout's row as written to the tree
        std::array<std::string, 6> cells; // Aka, club, Ao, club, state, result
        bool current = false, check = false, bye = false;
        bool valid = false; // written at all
    };
    std::vector<Shown> m_shownRows;
    std::vector<BoutRow> m_rows;            // as the tree shows them
    std::vector<QTreeWidgetItem *> m_items; // one per row
    std::optional<CurrentBout> m_current;
    bool m_built = false; // the tree filled once
};

} // namespace competition
