#include "console/keys.h"

#include "ui/design.h"

#include <QAbstractButton>
#include <QAction>
#include <QMainWindow>

namespace console {

namespace {

// The keys and the control or menu entry each clicks (the README lists them):
// Ctrl+digit Aka's flags, Alt+digit Ao's, then the referees, the clock,
// the resets, the field number, the scoreboard, the setup and the bouts.
constexpr KeyBinding kKeys[] = {
    {"Ctrl+1", "Optionr1"},
    {"Ctrl+2", "Optionr2"},
    {"Ctrl+3", "Optionr3"},
    {"Ctrl+4", "Optionr4"},
    {"Ctrl+5", "Optionr5"},
    {"Alt+1", "Optionb1"},
    {"Alt+2", "Optionb2"},
    {"Alt+3", "Optionb3"},
    {"Alt+4", "Optionb4"},
    {"Alt+5", "Optionb5"},
    // Not plain F5: a presentation remote sends it.
    {"Ctrl+F3", "Options3"},
    {"Ctrl+F5", "Options5"},
    {"F9", kStartOrStop},
    {"PgDown", kStartOrStop},
    {"Ctrl+T", "restime"},
    {"Ctrl+R", "resmatch"},
    {"Ctrl+F", "command12"},
    {"F11", "startext"},
    {"F12", "closeext"},
    {"F8", "MyButton1"},
    {"Ctrl+L", "loadbouts"},
    {"Ctrl+K", "bouts"},
    {"Ctrl+N", "nextbout"},
    {"Ctrl+B", "prevbout"},
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
