#pragma once

#include "platform/platform.h"
#include "settings/settingsfile.h"
#include "settings/settingsio.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QLineEdit;
class QWidget;

namespace settings {

// The setup strip of the console: opening and closing it, finding the sound
// files, and keeping the operator's setup in kata.ini.
class SetupPanel : public QObject {
    Q_OBJECT
public:
    // The console's outer height in twips is the strip's only state: the
    // console reads and sets it.
    struct Height {
        std::function<int()> get;
        std::function<void(int)> set;
    };

    // Takes the strip's controls built in `client`.
    SetupPanel(QWidget *client, const platform::Platform &platform, Height height);

    void toggle();       // the button Setup / Close setup
    void openFromMenu(); // the menu entry only opens
    void findSound(QLineEdit *field);

    // Fills the fields and boxes from kata.ini; a file that is missing or
    // cannot be read leaves the design values.
    void restore();
    // Writes kata.ini and tells the operator how it went. The old file is
    // replaced only by a completely written new one.
    void save();

    SettingsPaths settingsPaths() const;
    Settings fromControls() const;
    void toControls(const Settings &values);

private:
    void applyStrip(int outerHeight, std::string_view caption);

    QWidget *m_client;
    platform::Platform m_platform;
    Height m_height;
};

} // namespace settings
