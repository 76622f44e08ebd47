#include "settings/setuppanel.h"

#include "settings/setupstrip.h"
#include "ui/design.h"
#include "ui/pushbutton.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <algorithm>
#include <iterator>

namespace settings {

namespace {

std::string bytesOf(const QString &text, bool utf8)
{
    const QByteArray bytes = utf8 ? text.toUtf8() : text.toLocal8Bit();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

QString textOf(const std::string &bytes, bool utf8)
{
    return utf8 ? QString::fromUtf8(bytes.data(), qsizetype(bytes.size()))
                : QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size()));
}

// Whether the system's 8-bit encoding cannot hold `text` (it would be
// saved as "?" and lost) where UTF-8 can.
bool onlyUtf8Holds(const QString &text)
{
    return QString::fromLocal8Bit(text.toLocal8Bit()) != text && QString::fromUtf8(text.toUtf8()) == text;
}

} // namespace

SetupPanel::SetupPanel(QWidget *client, const platform::Platform &platform, Height height)
    : QObject(client), m_client(client), m_platform(platform), m_height(std::move(height))
{
    auto button = [client](const char *name) { return ui::named<ui::PushButton>(client, name); };
    auto field = [client](const char *name) { return ui::named<QLineEdit>(client, name); };

    connect(button("MyButton1"), &ui::PushButton::clicked, this, &SetupPanel::toggle);
    connect(button("MyButton4"), &ui::PushButton::clicked, this, [this, f = field("eindwav")] { findSound(f); });
    connect(button("MyButton5"), &ui::PushButton::clicked, this, [this, f = field("waarwav")] { findSound(f); });
    connect(button("MyButton7"), &ui::PushButton::clicked, this, &SetupPanel::save);
}

void SetupPanel::applyStrip(int outerHeight, std::string_view caption)
{
    m_height.set(outerHeight);
    ui::named<ui::PushButton>(m_client, "MyButton1")->setText(ui::qs(caption));
}

void SetupPanel::toggle()
{
    if (const auto change = afterToggle(m_height.get()))
        applyStrip(change->outerHeight, change->caption);
}

void SetupPanel::openFromMenu()
{
    if (const auto change = afterMenuOpen(m_height.get()))
        applyStrip(change->outerHeight, change->caption);
}

void SetupPanel::findSound(QLineEdit *field)
{
    const std::optional<QString> chosen =
        m_platform.files->openFile(m_client->window(), QStringLiteral("Find soundfile"), QStringLiteral("*.wav"),
                                   QStringLiteral("*.wav"), QDir::rootPath());
    // A cancelled dialog leaves the operator's setting as it was.
    if (chosen && !chosen->isEmpty())
        field->setText(*chosen);
}

SettingsPaths SetupPanel::settingsPaths() const { return settings::settingsPaths(m_platform.settings); }

Settings SetupPanel::fromControls() const
{
    const QWidget *client = m_client;
    static constexpr const char *kTexts[] = {"eindwav", "waarwav", "hsch", "vsch", "fsch"};
    Settings values;
    // The system's 8-bit encoding, as older copies of the program read
    // and write; UTF-8 only where that encoding cannot hold a text.
    values.utf8 = std::any_of(std::begin(kTexts), std::end(kTexts), [client](const char *name) {
        return onlyUtf8Holds(ui::named<QLineEdit>(client, name)->text());
    });
    auto text = [client, utf8 = values.utf8](const char *name) {
        return bytesOf(ui::named<QLineEdit>(client, name)->text(), utf8);
    };
    auto checked = [client](const char *name) { return ui::named<QCheckBox>(client, name)->isChecked(); };
    values.endSound = text("eindwav");
    values.warningSound = text("waarwav");
    values.hScale = text("hsch");
    values.vScale = text("vsch");
    values.fontScale = text("fsch");
    values.mirrorConsole = checked("Check10");
    values.mirrorScoreboard = checked("Check11");
    return values;
}

void SetupPanel::toControls(const Settings &values)
{
    const QWidget *client = m_client;
    auto setText = [client, utf8 = values.utf8](const char *name, const std::string &text) {
        ui::named<QLineEdit>(client, name)->setText(textOf(text, utf8));
    };
    setText("eindwav", values.endSound);
    setText("waarwav", values.warningSound);
    setText("hsch", values.hScale);
    setText("vsch", values.vScale);
    setText("fsch", values.fontScale);
    // A box reacts, as to the operator's click, only when its state changes.
    ui::named<QCheckBox>(client, "Check10")->setChecked(values.mirrorConsole);
    ui::named<QCheckBox>(client, "Check11")->setChecked(values.mirrorScoreboard);
}

void SetupPanel::restore()
{
    if (const auto bytes = readSettingsFile(settingsPaths().read, qint64(kReadLimit)))
        toControls(readSettings(std::string_view(bytes->constData(), std::size_t(bytes->size()))).values);
}

void SetupPanel::save()
{
    const std::string bytes = writeSettings(fromControls());
    if (saveSettingsFile(settingsPaths().write, QByteArray::fromStdString(bytes)))
        m_platform.messages->show(m_client->window(), platform::MessageIcon::Information,
                                  QStringLiteral("Ini-file saved"));
    else
        m_platform.messages->show(m_client->window(), platform::MessageIcon::Critical, QStringLiteral("Error saving"));
}

} // namespace settings
