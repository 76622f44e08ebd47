#pragma once

#include "decision/coupling.h"

#include <QObject>
#include <array>

class QRadioButton;
class QWidget;

namespace decision {

// The flag decision as the console holds it: the selection of the referee
// count buttons and of the two flag groups. There is no other copy; the
// counts are read back from the buttons.
class DecisionPanel : public QObject {
    Q_OBJECT
public:
    // Takes the buttons and digit labels built in `client` and couples them.
    explicit DecisionPanel(QWidget *client);

    int refereeCount() const;  // three or five
    FlagCounts counts() const; // zero where a side has no choice

    // Clear one side: no button of its group stays selected. Publishes nothing.
    void clearRed();
    void clearBlue();

signals:
    // A flag choice has ended; the decision is ready to be published.
    void decisionMade();

private:
    void refereeCountChosen();
    void flagChosen(Side side, int k);
    static void clear(const std::array<QRadioButton *, 5> &group);
    static int chosen(const std::array<QRadioButton *, 5> &group);
    void selectQuietly(Side side, int k);

    QRadioButton *m_three;
    QRadioButton *m_five;
    std::array<QRadioButton *, 5> m_red;
    std::array<QRadioButton *, 5> m_blue;
    // The buttons and labels for 4 and 5 flags, in the order they are hidden.
    std::array<QWidget *, 8> m_fourAndFive;
};

} // namespace decision
