#pragma once

#include <span>
#include <string_view>

class QMainWindow;

// The console's keys: every frequent action without the mouse. A key does
// exactly what a click on its control (or its menu entry) does. No key is
// a character that can be typed into a field, so digits typed into the
// time and field-number fields stay digits there.
namespace console {

struct KeyBinding {
    std::string_view keys;   // as QKeySequence reads them (portable text)
    std::string_view target; // a control or menu entry of the console
};

// The control that the Start/Stop key clicks: whichever of the two is shown.
inline constexpr std::string_view kStartOrStop = "Command4/Command5";

std::span<const KeyBinding> keyBindings();

// Gives the console its keys: menu entries carry theirs (shown in the
// menu's shortcut column), controls get window-wide shortcuts.
void installKeys(QMainWindow &console);

} // namespace console
