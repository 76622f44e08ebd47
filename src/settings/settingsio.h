#pragma once

#include "platform/platform.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Reading and writing kata.ini, and the other settings files kept beside it
// (browser.ini), on disk: where they lie, reading with care, replacing them
// atomically. What their lines mean is settingsfile.h's and the readers'.
namespace settings {

// The paths of kata.ini, or of another settings file kept beside it, in
// `folders`, as settingsLocation() chooses them.
struct SettingsPaths {
    QString read; // empty: nothing to read
    QString write;
};
SettingsPaths settingsPaths(const platform::SettingsFolders &folders,
                            const QString &fileName = QStringLiteral("kata.ini"));

// A settings file's first `limit` bytes; nothing where `path` is empty or no
// regular file (a directory, a pipe or a device of that name is no settings
// file, and must not stall the start-up) or cannot be read.
std::optional<QByteArray> readSettingsFile(const QString &path, qint64 limit);
// Replaces the file at `path` only by a completely written new one, making
// its folder where needed; false where the old one stays.
bool saveSettingsFile(const QString &path, const QByteArray &bytes);

} // namespace settings
