#include "console/keys.h"

#include "ui/design.h"

#include <QAbstractButton>
#include <QAction>
#include <QMainWindow>

namespace console {

namespace {

// keys          target               what
constexpr KeyBinding kKeys[] = {
    {"Ctrl+1", "Optionr1", "Aka (red) 1 flag"},
    {"Ctrl+2", "Optionr2", "Aka (red) 2 flags"},
    {"Ctrl+3", "Optionr3", "Aka (red) 3 flags"},
    {"Ctrl+4", "Optionr4", "Aka (red) 4 flags"},
    {"Ctrl+5", "Optionr5", "Aka (red) 5 flags"},
    {"Alt+1", "Optionb1", "Ao (blue) 1 flag"},
    {"Alt+2", "Optionb2", "Ao (blue) 2 flags"},
    {"Alt+3", "Optionb3", "Ao (blue) 3 flags"},
    {"Alt+4", "Optionb4", "Ao (blue) 4 flags"},
    {"Alt+5", "Optionb5", "Ao (blue) 5 flags"},
    // Not plain F5: a presentation remote sends it.
    {"Ctrl+F3", "Options3", "3 referees"},
    {"Ctrl+F5", "Options5", "5 referees"},
    {"F9", kStartOrStop, "Start / Stop the clock"},
    {"PgDown", kStartOrStop, "Start / Stop the clock (presentation remote, foot switch)"},
    {"Ctrl+T", "restime", "Reset time"},
    {"Ctrl+R", "resmatch", "Reset match"},
    {"Ctrl+F", "command12", "Set the field number"},
    {"F11", "startext", "Start the scoreboard"},
    {"F12", "closeext", "Close the scoreboard"},
    {"F8", "MyButton1", "Setup / Close setup"},
};

// Clicks `button` as the operator would: only when it can be seen and used.
void clickIfUsable(QAbstractButton *button, const QWidget *window)
{
    if (button && button->isVisibleTo(window) && button->isEnabled())
        button->click();
}

} // namespace

std::span<const KeyBinding> keyBindings() { return kKeys; }

void installKeys(QMainWindow &console)
{
    for (const KeyBinding &binding : kKeys) {
        const QKeySequence keys(ui::qs(binding.keys), QKeySequence::PortableText);
        if (auto *entry = console.findChild<QAction *>(ui::qs(binding.target))) {
            // A menu entry keeps its caption and shows its key beside it.
            QList<QKeySequence> all = entry->shortcuts();
            all.append(keys);
            entry->setShortcuts(all);
            entry->setAutoRepeat(false);
            continue;
        }
        auto *key = new QAction(&console);
        key->setObjectName(QStringLiteral("key ") + ui::qs(binding.keys));
        key->setShortcut(keys);
        key->setShortcutContext(Qt::WindowShortcut);
        // A key held down (a foot switch kept pressed) acts once, not at the
        // keyboard's repeat rate.
        key->setAutoRepeat(false);
        console.addAction(key);
        if (binding.target == kStartOrStop) {
            auto *start = console.findChild<QAbstractButton *>(QStringLiteral("Command4"));
            auto *stop = console.findChild<QAbstractButton *>(QStringLiteral("Command5"));
            QObject::connect(key, &QAction::triggered, &console, [&console, start, stop] {
                // Start and Stop share one spot; the key clicks the one shown.
                clickIfUsable(start->isVisibleTo(&console) ? start : stop, &console);
            });
            continue;
        }
        auto *button = console.findChild<QAbstractButton *>(ui::qs(binding.target));
        Q_ASSERT_X(button, "installKeys", "no control of that name");
        QObject::connect(key, &QAction::triggered, &console, [&console, button] { clickIfUsable(button, &console); });
    }
}

} // namespace console
