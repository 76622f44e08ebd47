#include "competition/boutswindow.h"

#include "competition/boutsdesign.h"
#include "competition/competition.h"
#include "platform/platform.h"
#include "ui/design.h"
#include "ui/pushbutton.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace competition {

namespace {

constexpr int kBoutRole = Qt::UserRole;          // a bout's item: its row's index
constexpr QColor kCurrentFace{0xFF, 0xF0, 0xA0}; // the current bout's background
constexpr QColor kCheckText{0xB0, 0x50, 0x00};   // a decided bout to check again

QString text(const std::string &utf8) { return QString::fromStdString(utf8); }

} // namespace

BoutsWindow::BoutsWindow(Competition &competition, platform::Messages &messages, QWidget *parent)
    : QWidget(parent, Qt::Window), m_competition(competition), m_messages(messages)
{
    ui::buildFixedWindow(this, kBoutsWindowName, tr("Bouts"), kBoutsClientWidth, kBoutsClientHeight, boutsControls());
    m_tree = ui::named<QTreeWidget>(this, "boutTree");
    m_tree->setRootIsDecorated(true);
    m_tree->setUniformRowHeights(true); // thousands of bouts scroll at once
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // long names are cut with "…"
    m_tree->header()->setStretchLastSection(true);
    for (const auto &[column, width] : {std::pair{ColumnBout, 60},
                                        {ColumnRound, 80},
                                        {ColumnAka, 150},
                                        {ColumnAkaClub, 110},
                                        {ColumnAo, 150},
                                        {ColumnAoClub, 110},
                                        {ColumnState, 90}})
        m_tree->setColumnWidth(column, width);
    // As on the console, one side's flags leave the other side the rest of the referees' flags.
    auto *aka = ui::named<QComboBox>(this, "correctAka");
    auto *ao = ui::named<QComboBox>(this, "correctAo");
    for (QComboBox *flags : {aka, ao})
        for (int count = 0; count <= 5; ++count)
            flags->addItem(QString::number(count));
    const auto couple = [this](QComboBox *other, int chosen) {
        const BoutRow *row = selectedRow();
        if (row && row->decision && chosen > 0 && chosen <= row->decision->referees)
            other->setCurrentIndex(row->decision->referees - chosen);
    };
    connect(aka, &QComboBox::activated, this, [=](int chosen) { couple(ao, chosen); });
    connect(ao, &QComboBox::activated, this, [=](int chosen) { couple(aka, chosen); });

    connect(ui::named<QLineEdit>(this, "findText"), &QLineEdit::textChanged, this, &BoutsWindow::find);
    connect(ui::named<QLineEdit>(this, "findText"), &QLineEdit::returnPressed, this, &BoutsWindow::chooseSelected);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { updateControls(true); });
    connect(m_tree, &QTreeWidget::itemActivated, this, &BoutsWindow::chooseSelected);
    connect(ui::named<ui::PushButton>(this, "chooseBout"), &ui::PushButton::clicked, this,
            &BoutsWindow::chooseSelected);
    connect(ui::named<ui::PushButton>(this, "nextBout"), &ui::PushButton::clicked, this, &BoutsWindow::nextRequested);
    connect(ui::named<ui::PushButton>(this, "correctBout"), &ui::PushButton::clicked, this,
            &BoutsWindow::correctSelected);
    connect(ui::named<ui::PushButton>(this, "closeBouts"), &ui::PushButton::clicked, this, &QWidget::close);
    connect(&competition, &Competition::changed, this, &BoutsWindow::refresh);
    refresh();
}

void BoutsWindow::refresh()
{
    // Closed, it costs the console nothing: it catches up when shown.
    if (!isVisible() && m_built)
        return;
    m_built = true;
    // The rows first: anything the rebuild makes happen reads them.
    m_rows = boutRows(m_competition.list(), m_competition.draw(), m_competition.decisions());
    const bool rebuilt = m_competition.listVersion() != m_listVersion;
    if (rebuilt)
        rebuild();
    const std::optional<CurrentBout> current = m_competition.current();
    constexpr int kColumns[] = {ColumnAka, ColumnAkaClub, ColumnAo, ColumnAoClub, ColumnState, ColumnResult};
    for (std::size_t i = 0; i < m_rows.size() && i < m_items.size(); ++i) {
        const BoutRow &row = m_rows[i];
        QTreeWidgetItem *item = m_items[i];
        const bool isCurrent = current && current->category == row.bout->category && current->bout == row.bout->number;
        Shown now{
            {row.red.name, row.red.club, row.blue.name, row.blue.club, stateText(row, isCurrent), resultText(row)},
            isCurrent,
            row.performedByOthers,
            row.state == BoutState::Bye,
            true};
        Shown &was = m_shownRows[i];
        // Only what changed is written: with thousands of bouts, a Next bout changes a few cells.
        for (std::size_t cell = 0; cell < now.cells.size(); ++cell)
            if (!was.valid || now.cells[cell] != was.cells[cell])
                item->setText(kColumns[cell], text(now.cells[cell]));
        if (!was.valid || now.current != was.current || now.check != was.check || now.bye != was.bye) {
            const QColor face = isCurrent ? kCurrentFace : QColor(Qt::transparent);
            const QColor ink = now.check ? kCheckText : now.bye ? Qt::gray : Qt::black;
            QFont font = m_tree->font();
            font.setBold(isCurrent);
            for (int column = 0; column < m_tree->columnCount(); ++column) {
                item->setBackground(column, face);
                item->setForeground(column, ink);
                item->setFont(column, font);
            }
            item->setToolTip(ColumnState,
                             now.check ? tr("Performed before an earlier result was corrected: the draw "
                                            "now names others for this bout.")
                                       : QString());
        }
        was = std::move(now);
        if (isCurrent && current != m_current)
            m_tree->scrollToItem(item);
    }
    m_current = current;
    // Names filled in since may now match what is being looked for; in a new
    // list, the first bout found is chosen as if it had just been typed.
    if (const QString wanted = ui::named<QLineEdit>(this, "findText")->text(); !wanted.trimmed().isEmpty()) {
        if (rebuilt)
            find(wanted);
        else
            filter(wanted);
    }
    updateControls(false);
}

void BoutsWindow::showEvent(QShowEvent *event)
{
    refresh();
    QWidget::showEvent(event);
}

void BoutsWindow::rebuild()
{
    m_listVersion = m_competition.listVersion();
    {
        const QSignalBlocker quiet(m_tree); // no selection of the items going away is handled
        m_tree->clear();
    }
    m_items.clear();
    m_shownRows.assign(m_rows.size(), Shown{});
    std::size_t index = 0;
    for (const Category &category : m_competition.list().categories) {
        auto *group = new QTreeWidgetItem(m_tree, {text(category.name)});
        group->setFirstColumnSpanned(true);
        QFont bold = m_tree->font();
        bold.setBold(true);
        group->setFont(0, bold);
        group->setFlags(Qt::ItemIsEnabled);
        for (const Bout &bout : category.bouts) {
            auto *item = new QTreeWidgetItem(group, {QString::number(bout.number), text(bout.round)});
            item->setData(0, kBoutRole, qulonglong(index++));
            m_items.push_back(item);
        }
    }
    m_tree->expandAll();
    m_current.reset();
}

void BoutsWindow::find(const QString &text)
{
    filter(text);
    // The first bout found is chosen, ready for Enter.
    if (!text.trimmed().isEmpty())
        for (QTreeWidgetItem *item : m_items)
            if (!item->isHidden()) {
                m_tree->setCurrentItem(item);
                m_tree->scrollToItem(item);
                break;
            }
}

void BoutsWindow::filter(const QString &text)
{
    // Every bout whose names, clubs, category or round hold the text, in any case.
    const QString wanted = text.trimmed();
    for (int c = 0; c < m_tree->topLevelItemCount(); ++c) {
        QTreeWidgetItem *group = m_tree->topLevelItem(c);
        const bool inCategory = group->text(0).contains(wanted, Qt::CaseInsensitive);
        bool any = false;
        for (int b = 0; b < group->childCount(); ++b) {
            QTreeWidgetItem *item = group->child(b);
            bool match = wanted.isEmpty() || inCategory;
            for (int column : {ColumnRound, ColumnAka, ColumnAkaClub, ColumnAo, ColumnAoClub})
                match = match || item->text(column).contains(wanted, Qt::CaseInsensitive);
            if (item->isHidden() == match) // only a change: each hides or shows a row of thousands anew
                item->setHidden(!match);
            any = any || match;
        }
        if (group->isHidden() == any)
            group->setHidden(!any);
    }
}

const BoutRow *BoutsWindow::selectedRow() const
{
    const QTreeWidgetItem *item = m_tree->currentItem();
    if (!item || item->isHidden() || !item->data(0, kBoutRole).isValid())
        return nullptr;
    const auto index = std::size_t(item->data(0, kBoutRole).toULongLong());
    return index < m_rows.size() ? &m_rows[index] : nullptr;
}

std::optional<CurrentBout> BoutsWindow::selected() const
{
    const BoutRow *row = selectedRow();
    if (!row)
        return std::nullopt;
    return CurrentBout{row->bout->category, row->bout->number};
}

void BoutsWindow::updateControls(bool newSelection)
{
    const BoutRow *row = selectedRow();
    const bool decided = row && row->state == BoutState::Decided && row->decision;
    const bool toCome = row && performable(m_competition.list(), m_competition.draw(), *selected());
    ui::named(this, "chooseBout")->setEnabled((decided || toCome) && selected() != m_competition.current());
    ui::named(this, "nextBout")->setEnabled(m_competition.current().has_value());
    for (const char *name : {"correctAka", "correctAo", "correctBout"})
        ui::named(this, name)->setEnabled(decided);
    if (decided && newSelection) { // a correction starts from the decision that counts
        ui::named<QComboBox>(this, "correctAka")->setCurrentIndex(row->decision->redFlags);
        ui::named<QComboBox>(this, "correctAo")->setCurrentIndex(row->decision->blueFlags);
    }
}

void BoutsWindow::chooseSelected()
{
    const std::optional<CurrentBout> bout = selected();
    if (!bout || !ui::named(this, "chooseBout")->isEnabled())
        return;
    // Performed again, its next decision replaces the result: never by a slip of the mouse.
    if (const BoutRow *row = selectedRow(); row->state == BoutState::Decided
        && !m_messages.ask(this,
                           tr("Bout %1 of %2 is decided (%3). Perform it again? Its next decision replaces "
                              "that result.")
                               .arg(bout->bout)
                               .arg(text(bout->category), text(resultText(*row)))))
        return;
    emit chosen(*bout);
}

void BoutsWindow::correctSelected()
{
    const std::optional<CurrentBout> bout = selected();
    if (!bout)
        return;
    const int red = ui::named<QComboBox>(this, "correctAka")->currentIndex();
    const int blue = ui::named<QComboBox>(this, "correctAo")->currentIndex();
    const QString what = tr("%1, bout %2").arg(text(bout->category)).arg(bout->bout);
    const int referees = selectedRow()->decision ? selectedRow()->decision->referees : 3;
    if ((red != 0 || blue != 0) && red + blue != referees) {
        m_messages.show(this, platform::MessageIcon::Warning,
                        tr("The %1 referees' flags make %1 together: choose the flags of the decision (0 and 0 "
                           "take the result back).")
                            .arg(referees));
        return;
    }
    const QString question = red == blue
        ? tr("Take the result of %1 back? The bout is to come again.").arg(what)
        : tr("Correct the result of %1 to %2 %3\u2013%4? The decision before stays in the "
             "results file.")
              .arg(what, red > blue ? QStringLiteral("Aka") : QStringLiteral("Ao"))
              .arg(std::max(red, blue))
              .arg(std::min(red, blue));
    if (m_messages.ask(this, question))
        m_competition.correct(*bout, red, blue);
}

} // namespace competition
