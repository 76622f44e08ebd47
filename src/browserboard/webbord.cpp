#include "browserboard/webbord.h"

#include "browserboard/browserboard.h"
#include "browserboard/webborddesign.h"
#include "ui/design.h"
#include "ui/pushbutton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace browserboard {

Webbord::Webbord(BrowserBoard &board, QWidget *console) : QWidget(console, Qt::Window), m_board(board)
{
    ui::buildFixedWindow(this, kWindowName, ui::qs(kWindowTitle), kClientWidth, kClientHeight, webbordControls());
    m_addressPoints = ui::named<QLabel>(this, "Label4")->font().pointSizeF();

    auto *port = ui::named<QLineEdit>(this, "Text1");
    port->setValidator(new QIntValidator(1, 65535, port));
    const ServeChoice &choice = board.choice();
    listAddresses(choice.where == Where::Address ? QString::fromStdString(choice.address) : QString());
    port->setText(QString::number(choice.port));
    const char *option = choice.where == Where::Everywhere ? "Option1"
        : choice.where == Where::Address                   ? "Option2"
                                                           : "Option3";
    ui::named<QRadioButton>(this, option)->setChecked(true);
    for (const char *name : {"Label4", "Label5"})
        ui::named<QLabel>(this, name)
            ->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    connect(ui::named<QCheckBox>(this, "Check1"), &QCheckBox::toggled, this, &Webbord::toggled);
    connect(ui::named<QRadioButton>(this, "Option2"), &QRadioButton::toggled, this, &Webbord::fromBoard);
    connect(ui::named<ui::PushButton>(this, "Command1"), &ui::PushButton::clicked, this, &QWidget::close);
    connect(&board, &BrowserBoard::statusChanged, this, &Webbord::fromBoard);
    connect(&board, &BrowserBoard::addressesFound, this, [this] {
        listAddresses(ui::named<QComboBox>(this, "Combo1")->currentText());
        fromBoard();
    });
    fromBoard();
}

void Webbord::listAddresses(const QString &chosen)
{
    auto *addresses = ui::named<QComboBox>(this, "Combo1");
    addresses->clear();
    addresses->addItems(m_board.addresses());
    if (!chosen.isEmpty() && addresses->findText(chosen) < 0)
        addresses->addItem(chosen);
    if (!chosen.isEmpty())
        addresses->setCurrentText(chosen);
}

void Webbord::toggled(bool on)
{
    if (!on) {
        m_board.switchOff(true);
        return;
    }
    ServeChoice choice;
    choice.port = ui::named<QLineEdit>(this, "Text1")->text().toInt();
    if (choice.port < 1 || choice.port > 65535) {
        choice.port = kDefaultPort;
        ui::named<QLineEdit>(this, "Text1")->setText(QString::number(kDefaultPort));
    }
    choice.where = ui::named<QRadioButton>(this, "Option1")->isChecked() ? Where::Everywhere
        : ui::named<QRadioButton>(this, "Option2")->isChecked()          ? Where::Address
                                                                         : Where::ThisPc;
    choice.address = ui::named<QComboBox>(this, "Combo1")->currentText().toStdString();
    if (choice.where == Where::Address && choice.address.empty())
        choice.where = Where::ThisPc; // no network: this PC is all there is
    m_board.switchOn(choice, true);
}

void Webbord::fromBoard()
{
    const BrowserBoard::Status status = m_board.status();
    const bool off = status == BrowserBoard::Status::Off;
    auto *box = ui::named<QCheckBox>(this, "Check1");
    const QSignalBlocker quiet(box);
    box->setChecked(!off);
    // The port and the place are chosen while it is off.
    for (const char *name : {"Text1", "Option1", "Option2", "Option3"})
        ui::named(this, name)->setEnabled(off);
    ui::named(this, "Combo1")->setEnabled(off && ui::named<QRadioButton>(this, "Option2")->isChecked());

    const QStringList urls = m_board.urls();
    auto *where = ui::named<QLabel>(this, "Label4");
    where->setText(off                                            ? QStringLiteral("Off")
                       : status == BrowserBoard::Status::Starting ? QStringLiteral("Starting...")
                       : urls.isEmpty()                           ? QStringLiteral("Finding this PC's addresses...")
                       : m_board.thisPcOnly() ? QStringLiteral("No network yet: this PC only\n") + urls.constFirst()
                                              : urls.join(QLatin1Char('\n')));
    // Every address in view, best first: the more there are, or the longer, the smaller.
    QFont font = where->font();
    font.setPointSizeF(m_addressPoints);
    const auto fits = [where](const QFont &font) {
        const QRect need =
            QFontMetrics(font, where).boundingRect(QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX), 0, where->text());
        return need.width() <= where->width() && need.height() <= where->height();
    };
    while (font.pointSizeF() > 7 && !fits(font))
        font.setPointSizeF(font.pointSizeF() - 1);
    where->setFont(font);
    ui::named<QLabel>(this, "Label5")
        ->setText(urls.isEmpty()
                      ? QString()
                      : QStringLiteral("Pages open now: %1\nFor streaming software (a browser source in OBS), "
                                       "on a transparent background:\n%2overlay")
                            .arg(m_board.pages())
                            .arg(urls.constFirst()));
}

} // namespace browserboard
