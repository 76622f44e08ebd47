#include "decision/decisionpanel.h"

#include "ui/design.h"

#include <QRadioButton>
#include <QSignalBlocker>
#include <QWidget>

namespace decision {

DecisionPanel::DecisionPanel(QWidget *client)
    : QObject(client), m_three(ui::named<QRadioButton>(client, "Options3")),
      m_five(ui::named<QRadioButton>(client, "Options5")), m_red{ui::named<QRadioButton>(client, "Optionr1"),
                                                                 ui::named<QRadioButton>(client, "Optionr2"),
                                                                 ui::named<QRadioButton>(client, "Optionr3"),
                                                                 ui::named<QRadioButton>(client, "Optionr4"),
                                                                 ui::named<QRadioButton>(client, "Optionr5")},
      m_blue{ui::named<QRadioButton>(client, "Optionb1"), ui::named<QRadioButton>(client, "Optionb2"),
             ui::named<QRadioButton>(client, "Optionb3"), ui::named<QRadioButton>(client, "Optionb4"),
             ui::named<QRadioButton>(client, "Optionb5")},
      m_fourAndFive{ui::named(client, "Optionr4"), ui::named(client, "Optionr5"), ui::named(client, "Optionb4"),
                    ui::named(client, "Optionb5"), ui::named(client, "Label10"),  ui::named(client, "Label11"),
                    ui::named(client, "Label12"),  ui::named(client, "Label13")}
{
    // The console opens with five referees and no decision.
    m_five->setChecked(true);

    for (QRadioButton *button : {m_three, m_five})
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                refereeCountChosen();
        });
    for (int k = 1; k <= 5; ++k) {
        connect(m_red[k - 1], &QRadioButton::toggled, this, [this, k](bool on) {
            if (on)
                flagChosen(Side::Red, k);
        });
        connect(m_blue[k - 1], &QRadioButton::toggled, this, [this, k](bool on) {
            if (on)
                flagChosen(Side::Blue, k);
        });
    }
}

int DecisionPanel::refereeCount() const { return m_three->isChecked() ? 3 : 5; }

FlagCounts DecisionPanel::counts() const { return {chosen(m_red), chosen(m_blue)}; }

int DecisionPanel::chosen(const std::array<QRadioButton *, 5> &group)
{
    for (int k = 1; k <= 5; ++k)
        if (group[k - 1]->isChecked())
            return k;
    return 0;
}

void DecisionPanel::clear(const std::array<QRadioButton *, 5> &group)
{
    for (QRadioButton *button : group) {
        if (!button->isChecked())
            continue;
        // A radio group never lets its selected button go by itself.
        const QSignalBlocker quiet(button);
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

void DecisionPanel::clearRed() { clear(m_red); }
void DecisionPanel::clearBlue() { clear(m_blue); }

void DecisionPanel::refereeCountChosen()
{
    clearRed();
    clearBlue();
    const bool five = refereeCount() == 5;
    for (QWidget *widget : m_fourAndFive)
        widget->setVisible(five);
}

void DecisionPanel::selectQuietly(Side side, int k)
{
    QRadioButton *button = (side == Side::Red ? m_red : m_blue)[k - 1];
    // The counterpart is set here in one pass, so its own choice must not run.
    const QSignalBlocker quiet(button);
    button->setChecked(true);
}

void DecisionPanel::flagChosen(Side side, int k)
{
    const FlagCounts decision = couple(refereeCount(), side, k);
    if (side == Side::Red) {
        if (decision.blue == 0)
            clearBlue();
        else
            selectQuietly(Side::Blue, decision.blue);
    } else {
        clearRed();
        if (decision.red != 0)
            selectQuietly(Side::Red, decision.red);
    }
    emit decisionMade();
}

} // namespace decision
