#pragma once

#include <QString>

// The program's seven settings, all plain strings, kept per user: the
// registry key HKEY_CURRENT_USER\software\boxwart\config on Windows, Qt's
// native format for organisation "boxwart", application "config" elsewhere.
// A value that does not exist reads as empty text.
namespace SettingsStore {

inline const QString BoxIp = QStringLiteral("boxip");
inline const QString UserId = QStringLiteral("userID");
inline const QString Password = QStringLiteral("passw");
inline const QString BackupPath = QStringLiteral("backuppath");
inline const QString Language = QStringLiteral("language");
inline const QString Image1 = QStringLiteral("image1");
inline const QString Image2 = QStringLiteral("image2");

QString read(const QString &name);
void write(const QString &name, const QString &value);
bool exists(const QString &name);

} // namespace SettingsStore
