#include "settings/settingsio.h"

#include "settings/settingslocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace settings {

SettingsPaths settingsPaths(const platform::SettingsFolders &folders, const QString &fileName)
{
    const QString program = QDir(folders.program).filePath(fileName);
    const QString user = QDir(folders.user).filePath(fileName);
    const Location where =
        settingsLocation(folders.programWritable, QFileInfo::exists(user), QFileInfo::exists(program));
    auto path = [&](Folder folder) {
        return folder == Folder::Program ? program : folder == Folder::User ? user : QString();
    };
    return {path(where.read), path(where.write)};
}

std::optional<QByteArray> readSettingsFile(const QString &path, qint64 limit)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(limit);
}

bool saveSettingsFile(const QString &path, const QByteArray &bytes)
{
    // The user's configuration folder may not be there yet.
    const bool folder = QDir().mkpath(QFileInfo(path).absolutePath());
    // The new content goes to a temporary file beside the old one, which it
    // replaces only once it is written completely. Unbuffered, so that a
    // short write (a full disk) shows here and the old file stays.
    QSaveFile file(path);
    return folder && file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size()
        && file.commit();
}

} // namespace settings
