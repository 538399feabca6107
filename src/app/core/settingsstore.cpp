#include "app/core/settingsstore.h"

#include <QSettings>

namespace {

QSettings openKey()
{
#ifdef Q_OS_WIN
    return QSettings(QStringLiteral("HKEY_CURRENT_USER\\software\\boxwart\\config"), QSettings::NativeFormat);
#else
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("boxwart"),
                     QStringLiteral("config"));
#endif
}

} // namespace

namespace SettingsStore {

QString read(const QString &name)
{
    return openKey().value(name).toString();
}

void write(const QString &name, const QString &value)
{
    QSettings key = openKey();
    key.setValue(name, value);
    key.sync();
}

bool exists(const QString &name)
{
    return openKey().contains(name);
}

} // namespace SettingsStore
