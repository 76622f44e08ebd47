#include "console/console.h"

#include "console/consoledesign.h"
#include "decision/decisionpanel.h"
#include "settings/setuppanel.h"
#include "settings/setupstrip.h"
#include "ui/design.h"
#include "ui/pushbutton.h"
#include "ui/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace console {

Kata::Kata(const ui::Platform &platform, QWidget *parent)
    : QMainWindow(parent), m_platform(platform), m_client(new QWidget(this))
{
    setObjectName(QStringLiteral("Kata"));
    setWindowTitle(ui::qs(kCaption));
    m_client->setObjectName(QStringLiteral("client"));
    // The window's background is the system's window colour. (Setting the
    // palette rather than the background role keeps the labels' roles.)
    QPalette palette = m_client->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    m_client->setPalette(palette);
    m_client->setAutoFillBackground(true);
    setCentralWidget(m_client);
    // The window takes exactly the size of its client area and menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    ui::build(m_client, frames());
    ui::build(m_client, panelArtwork(), ui::Listed::FrontToBack);
    ui::build(m_client, panelControls());
    ui::build(m_client, rightColumn());
    ui::build(m_client, setupStrip());
    ui::build(m_client, offscreenFields());
    for (const char *name : {"sbtxt", "shtxt"})
        ui::named(m_client, name)->setFocusPolicy(Qt::NoFocus);
    buildMenu();

    // The match clock ticks once a second while it runs.
    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(1000);

    m_decision = new decision::DecisionPanel(m_client);
    m_setup = new settings::SetupPanel(*this, m_platform);
    connect(findChild<QAction *>(QStringLiteral("su")), &QAction::triggered, m_setup,
            &settings::SetupPanel::openFromMenu);

    connect(ui::named<QCheckBox>(m_client, "Check10"), &QCheckBox::toggled, this, [this](bool checked) {
        if (checked)
            katasp();
        else
            kataonsp();
    });
    connect(ui::named<ui::PushButton>(m_client, "command14"), &ui::PushButton::clicked, this,
            &Kata::closeProgram);

    // Start-up.
    setOuterHeight(settings::kOuterHeightClosed);
    for (const char *name : {"Command4", "Command5"}) {
        QWidget *button = ui::named(m_client, name);
        button->move(ui::px(kStartStopLeft), button->y());
    }
    ui::named(m_client, "Command4")->raise(); // Start lies on top of Stop
    m_setup->restore(); // checking "Internal" mirrors the console at once
    if (ui::named<QCheckBox>(m_client, "Check10")->isChecked())
        katasp();
}

void Kata::showEvent(QShowEvent *event)
{
    // The first time, once its menu bar has its height: centred on the screen.
    if (!m_placed) {
        m_placed = true;
        adjustSize();
        if (const QScreen *screen = this->screen())
            move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameGeometry().size(),
                                     screen->availableGeometry())
                     .topLeft());
    }
    QMainWindow::showEvent(event);
}

Kata::~Kata() = default;

void Kata::buildMenu()
{
    QMenu *menu = menuBar()->addMenu(ui::qs(kMenuCaption));
    menu->setObjectName(ui::qs(kMenuName));
    for (const MenuEntry &entry : menuEntries()) {
        QAction *action = entry.caption == "-" ? menu->addSeparator() : menu->addAction(ui::qs(entry.caption));
        action->setObjectName(ui::qs(entry.name));
    }
    connect(findChild<QAction *>(QStringLiteral("cl")), &QAction::triggered, this, &Kata::closeProgram);
}

void Kata::setOuterHeight(int twips)
{
    m_outerHeight = twips;
    const int clientHeight = twips > settings::kOuterHeightClosed ? kClientHeightSetupOpen
                                                                 : kClientHeightSetupClosed;
    m_client->setFixedSize(ui::px(kClientWidth), ui::px(clientHeight));
    // Controls cut off from view take no keyboard focus.
    const QRect inView = m_client->rect();
    for (QWidget *frame : m_client->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        frame->setEnabled(inView.contains(frame->geometry()));
}

void Kata::arrange(Arrangement arrangement)
{
    for (const LeftEdge &edge : leftEdges(arrangement)) {
        QWidget *widget = ui::named(m_client, edge.control);
        widget->move(ui::px(edge.left), widget->y());
    }
}

void Kata::kataonsp() { arrange(Arrangement::Normal); }
void Kata::katasp() { arrange(Arrangement::Mirrored); }

void Kata::closeProgram()
{
    close();
}

} // namespace console
