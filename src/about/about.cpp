#include "about/about.h"

#include "about/aboutdesign.h"
#include "ui/design.h"
#include "ui/pushbutton.h"
#include "ui/twips.h"

#include <QLabel>
#include <QScreen>
#include <QStyle>

namespace about {

Overfrm::Overfrm()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    ui::buildFixedWindow(this, kWindowName, QString(), kClientWidth, kClientHeight, aboutControls());
    ui::named<QLabel>(this, kSmallPrint)->setWordWrap(true);
    connect(ui::named<ui::PushButton>(this, "Command2"), &ui::PushButton::clicked, this, &QWidget::close);
}

void Overfrm::openOn(QScreen *screen)
{
    m_home = screen ? screen : this->screen();
    // Placed on its screen before it is shown: a window is shown on the
    // screen that holds its position.
    setScreen(m_home);
    centre();
    show();
}

void Overfrm::centre()
{
    if (m_home)
        move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameGeometry().size(), m_home->availableGeometry())
                 .topLeft());
}

void Overfrm::showEvent(QShowEvent *event)
{
    // The first time, once its frame is known: centred again.
    if (!m_placed) {
        m_placed = true;
        centre();
    }
    QWidget::showEvent(event);
}

About::About(QWidget *console) : QObject(console), m_console(console) {}

About::~About() { delete m_window.data(); }

void About::show()
{
    if (!m_window) {
        m_window = new Overfrm;
        m_window->openOn(m_console->screen());
    } else {
        // Shown anew, it comes back even from a minimised state.
        m_window->hide();
        m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
        m_window->show();
    }
    m_window->raise();
    m_window->activateWindow();
}

} // namespace about
