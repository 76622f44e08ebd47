#include "platform/platform.h"

#include <QStandardPaths>

namespace platform {

// %APPDATA%\Taikan: the user's roaming application data, which follows the
// user to another PC of the club's network; Qt's configuration folder would
// be the local one.
QString userSettingsFolder() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }

} // namespace platform
