#include "scoreboard/kabord.h"

#include "scoreboard/boarddesign.h"
#include "ui/design.h"
#include "ui/twips.h"
#include "ui/widgets.h"

#include <QCloseEvent>

namespace scoreboard {

Kabord::Kabord() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(ui::qs(kWindowName));
    setWindowTitle(ui::qs(kWindowTitle));
    // Opening it must not take the keyboard from the operator's console.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ui::toQColor(kBackground));
    setPalette(palette);
    setAutoFillBackground(true);
    resize(ui::px(kDesignWidth), ui::px(kDesignHeight));

    ui::build(this, boardDesign());
    for (std::string_view name : kLabelNames)
        connect(ui::named<ui::AutoLabel>(this, name), &ui::AutoLabel::clicked, this, &Kabord::closeRequested);
}

QWidget *Kabord::element(std::string_view name) const { return ui::named(this, name); }

ui::AutoLabel *Kabord::label(int index) const
{
    return ui::named<ui::AutoLabel>(this, kLabelNames[std::size_t(index)]);
}

ui::Shape *Kabord::shape(int index) const { return ui::named<ui::Shape>(this, kShapeNames[std::size_t(index)]); }

ui::AutoLabel *Kabord::redCount() const { return ui::named<ui::AutoLabel>(this, "scr"); }
ui::AutoLabel *Kabord::blueCount() const { return ui::named<ui::AutoLabel>(this, "scb"); }

void Kabord::closeEvent(QCloseEvent *event)
{
    // The window system's close request is handled like any other closing:
    // the owner discards the scoreboard.
    event->accept();
    emit closeRequested();
}

} // namespace scoreboard
