#pragma once

#include "settings/settingsfile.h"
#include "ui/platform.h"

#include <QObject>
#include <QString>

class QLineEdit;

namespace console {
class Kata;
}

namespace settings {

// The setup strip of the console: opening and closing it, finding the sound
// files, and keeping the operator's setup in kata.ini.
class SetupPanel : public QObject {
    Q_OBJECT
public:
    SetupPanel(console::Kata &console, const ui::Platform &platform);

    void toggle();       // "Setup" / "Close setup"
    void openFromMenu(); // the menu entry "Setup " only opens
    void findSound(QLineEdit *field);

    // Fills the fields and boxes from kata.ini; a file that is missing or
    // cannot be read leaves the design values.
    void restore();
    // Writes kata.ini and tells the operator how it went. The old file is
    // replaced only by a completely written new one.
    void save();

    QString settingsPath() const;
    Settings fromControls() const;
    void toControls(const Settings &values);

private:
    void applyStrip(int outerHeight, std::string_view caption);

    console::Kata &m_console;
    ui::Platform m_platform;
};

} // namespace settings
