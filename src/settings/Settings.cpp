#include "settings/Settings.h"

#include <QSettings>

namespace {
const QString Group = QStringLiteral("Options");

class PlatformStore final : public Settings::Store
{
public:
    PlatformStore()
        : m_settings(QSettings::NativeFormat, QSettings::UserScope, Settings::ProgramTitle, Settings::ProgramTitle)
    {
    }

    QString read(const QString &key) override { return m_settings.value(Group + QLatin1Char('/') + key).toString(); }

    // QSettings writes lazily and says nothing of a failure: sync now and ask.
    bool write(const QString &key, const QString &value) override
    {
        m_settings.setValue(Group + QLatin1Char('/') + key, value);
        m_settings.sync();
        return m_settings.status() == QSettings::NoError;
    }

    QString location() const override { return m_settings.fileName(); }

private:
    QSettings m_settings;
};
}

Settings::Settings(Store *store)
    : m_ownStore(store ? nullptr : new PlatformStore)
    , m_store(store ? store : m_ownStore)
{
}

Settings::~Settings()
{
    delete m_ownStore;
}

QString Settings::read(const QString &key) const
{
    return m_store->read(key);
}

bool Settings::write(const QString &key, const QString &value)
{
    const bool written = m_store->write(key, value);
    m_writeFailed = m_writeFailed || !written;
    return written;
}

bool Settings::isSet(const QString &key) const
{
    return read(key) == SetValue;
}

QString Settings::location() const
{
    return m_store->location();
}

Options Options::read(const Settings &settings)
{
    return Options{settings.read(Settings::VariableDir), settings.read(Settings::ProjectDir),
                   settings.isSet(Settings::Associated), settings.read(Settings::KeepLayout) != Settings::UnsetValue};
}
