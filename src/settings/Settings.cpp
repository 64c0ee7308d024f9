#include "settings/Settings.h"

#include <QSettings>

namespace {
const QString ProgramTitle = QStringLiteral("Korvid4");
const QString Group = QStringLiteral("Options");

class PlatformStore final : public Settings::Store
{
public:
    QString read(const QString &key) override
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, ProgramTitle, ProgramTitle);
        return settings.value(Group + QLatin1Char('/') + key).toString();
    }

    void write(const QString &key, const QString &value) override
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, ProgramTitle, ProgramTitle);
        settings.setValue(Group + QLatin1Char('/') + key, value);
    }
};

PlatformStore platformStore;
Settings::Store *currentStore = &platformStore;
}

void Settings::setStore(Store *store)
{
    currentStore = store ? store : &platformStore;
}

QString Settings::read(const QString &key)
{
    return currentStore->read(key);
}

void Settings::write(const QString &key, const QString &value)
{
    currentStore->write(key, value);
}

bool Settings::isSet(const QString &key)
{
    return read(key) == SetValue;
}
