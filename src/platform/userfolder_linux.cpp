#include "platform/platform.h"

#include <QStandardPaths>

namespace platform {

// ~/.config/Taikan: the user's configuration folder, named after the application.
QString userSettingsFolder() { return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation); }

} // namespace platform
