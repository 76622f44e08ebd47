#include "scoreboard/scoreboard.h"

#include "common/numeric.h"
#include "scoreboard/boarddesign.h"
#include "scoreboard/kabord.h"
#include "scoreboard/scaling.h"
#include "ui/twips.h"
#include "ui/widgets.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScreen>
#include <algorithm>

namespace scoreboard {

namespace {

double valueOf(const QLineEdit *field) { return common::numericValue(field->text().toStdString()); }

QString digit(int count) { return QString::number(std::clamp(count, 0, 9)); }

void place(Kabord &board, const std::vector<Placed> &layout)
{
    for (const Placed &p : layout) {
        QWidget *widget = board.element(p.name);
        const int x = safePixels(p.left);
        const int y = safePixels(p.top);
        if (p.kind == ui::Kind::BoardLabel) {
            // A label takes the size of its text in the new font.
            widget->move(x, y);
            static_cast<ui::AutoLabel *>(widget)->setPoints(p.points);
            continue;
        }
        const int right = safePixels(double(p.left) + double(p.width));
        const int bottom = safePixels(double(p.top) + double(p.height));
        widget->setGeometry(x, y, std::max(0, right - x), std::max(0, bottom - y));
    }
}

} // namespace

Scoreboard::Scoreboard(const ConsoleFields &fields, const platform::Platform &platform, QWidget *console)
    : QObject(console), m_fields(fields), m_platform(platform), m_console(console)
{
    // A display that goes away takes the scoreboard with it, closed as
    // "Close Scoreboard" closes it, rather than letting the window system
    // move it over the operator's console.
    // The same where the console's display goes: the window system would
    // move the console under the full-screen scoreboard.
    connect(m_platform.displays, &platform::Displays::removed, this, [this](QScreen *screen) {
        if (isOpen() && (m_board->screen() == screen || m_console->screen() == screen))
            discard();
    });
}

Scoreboard::~Scoreboard()
{
    delete m_board;
    for (const QPointer<Kabord> &board : m_discarded)
        delete board.data();
}

Kabord &Scoreboard::instance()
{
    if (!m_board) {
        m_board = new Kabord;
        // Asked from within its own click or close event, it must outlive
        // that event: the event loop deletes it.
        connect(m_board, &Kabord::closeRequested, this, [this] { discardBoard(true); });
    }
    return *m_board;
}

bool Scoreboard::isOpen() const { return m_board && m_board->isVisible(); }

void Scoreboard::discard() { discardBoard(false); }

void Scoreboard::discardBoard(bool later)
{
    if (!m_board)
        return;
    Kabord *board = std::exchange(m_board, nullptr);
    board->disconnect(this);
    // Where it was the last window (the console closed through its frame),
    // the program ends with it as it goes.
    if (!later) {
        delete board;
        return;
    }
    board->deleteLater();
    std::erase_if(m_discarded, [](const QPointer<Kabord> &b) { return b.isNull(); });
    m_discarded.emplace_back(board);
}

void Scoreboard::katamirror()
{
    Kabord &board = instance();
    for (const MirroredLeft &m : mirroredLefts()) {
        QWidget *widget = board.element(m.name);
        widget->move(ui::px(m.left), widget->y());
    }
}

QScreen *Scoreboard::targetScreen() const
{
    const QList<QScreen *> screens = m_platform.displays->screens();
    std::vector<Area> areas;
    areas.reserve(std::size_t(screens.size()));
    for (const QScreen *screen : screens) {
        const QRect g = screen->geometry();
        areas.push_back(Area{g.x(), g.y(), g.width(), g.height()});
    }
    const int target = targetDisplay(areas, int(screens.indexOf(m_platform.displays->main())));
    return target >= 0 ? screens[target] : nullptr;
}

void Scoreboard::startscb()
{
    discard();

    const Scales scales{valueOf(m_fields.hsch), valueOf(m_fields.vsch), valueOf(m_fields.fsch)};
    if (anyScaleZero(scales)) {
        m_platform.messages->show(m_console, platform::MessageIcon::Warning,
                                  QStringLiteral("Scale can not be zero in setup parameters"));
        return;
    }
    const bool mirrored = m_fields.external->isChecked();
    if (mirrored)
        katamirror();

    // The scoreboard fills the display right of the main one.
    QScreen *target = targetScreen();
    Kabord &board = instance();
    const QRect area = target ? target->geometry() : board.geometry();
    if (target)
        board.setScreen(target);
    board.setGeometry(area);
    board.setWindowState(Qt::WindowFullScreen);

    const int width = ui::twips(area.width());
    const int height = ui::twips(area.height());
    m_fields.sbtxt->setText(QString::number(width));
    m_fields.shtxt->setText(QString::number(height));

    place(board, scaleDesign(boardDesign(), valueOf(m_fields.sbtxt), valueOf(m_fields.shtxt), scales, mirrored));

    ui::AutoLabel *field = board.label(4);
    field->setCentred(true);
    field->setText(m_fields.fieldNumber->text());

    board.show();
    emit opened();
}

void Scoreboard::scorebord(int red, int blue)
{
    Kabord &board = instance();
    board.redCount()->setText(digit(red));
    board.blueCount()->setText(digit(blue));
}

void Scoreboard::setFieldNumber(const QString &text) { instance().label(4)->setText(text); }

void Scoreboard::writeClock(ClockDigit which, const QString &text) { instance().label(int(which))->setText(text); }

void Scoreboard::setClockColour(const QColor &colour)
{
    Kabord &board = instance();
    for (int index : {7, 5, 0, 6})
        board.label(index)->setTextColour(colour);
}

void Scoreboard::setClockShown(bool shown)
{
    Kabord &board = instance();
    for (std::string_view name : kClockGroup)
        board.element(name)->setVisible(shown);
}

void Scoreboard::repaintClock(ClockDigit which)
{
    if (m_board && m_board->isVisible())
        m_board->label(int(which))->repaint();
}

} // namespace scoreboard
