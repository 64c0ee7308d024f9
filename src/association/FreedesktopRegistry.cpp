#include "association/FreedesktopRegistry.h"

namespace {
const QChar Separator = QLatin1Char('\\');
}

std::optional<QString> FreedesktopRegistry::keyPath(Key root, const QString &subKey) const
{
    QString parent;
    if (root != ClassesRoot) {
        const auto open = m_open.constFind(root);
        if (open == m_open.constEnd())
            return std::nullopt;
        parent = *open;
    }
    if (subKey.isEmpty())
        return parent;
    // Names are compared without case; empty names (a leading, doubled or trailing "\") are wrong.
    const QStringList names = subKey.split(Separator);
    for (const QString &name : names) {
        if (name.isEmpty())
            return std::nullopt;
    }
    const QString path = names.join(Separator);
    return parent.isEmpty() ? path : parent + Separator + path;
}

qint32 FreedesktopRegistry::createKey(Key root, const QString &subKey, quint32, quint32, Key *result,
                                      quint32 *disposition)
{
    if (!result)
        return InvalidParameter;
    const std::optional<QString> path = keyPath(root, subKey);
    if (!path)
        return root == ClassesRoot || m_open.contains(root) ? BadPathName : InvalidHandle;
    bool created = false;
    const QStringList names = path->split(Separator);
    for (qsizetype count = 1; !path->isEmpty() && count <= names.size(); ++count) {
        const QString prefix = names.first(count).join(Separator);
        if (!m_keys.contains(prefix.toLower())) {
            m_keys.insert(prefix.toLower(), prefix);
            created = true;
        }
    }
    if (disposition)
        *disposition = created ? CreatedNewKey : OpenedExistingKey;
    *result = m_nextKey++;
    m_open.insert(*result, path->toLower());
    return Success;
}

qint32 FreedesktopRegistry::openKey(Key root, const QString &subKey, quint32, quint32, Key *result)
{
    if (!result)
        return InvalidParameter;
    *result = 0;
    const std::optional<QString> path = keyPath(root, subKey);
    if (!path)
        return root == ClassesRoot || m_open.contains(root) ? BadPathName : InvalidHandle;
    if (!path->isEmpty() && !m_keys.contains(path->toLower()))
        return FileNotFound;
    *result = m_nextKey++;
    m_open.insert(*result, path->toLower());
    return Success;
}

qint32 FreedesktopRegistry::setValue(Key key, const QString &valueName, quint32 type, const QByteArray &data)
{
    const auto open = m_open.constFind(key);
    if (open == m_open.constEnd())
        return InvalidHandle;
    // Only the keys' default texts describe file types; other values change nothing on a desktop.
    if (!valueName.isEmpty() || type != TypeString || open->isEmpty())
        return Success;
    const qsizetype end = data.indexOf('\0');
    m_defaults.insert(*open, QString::fromLocal8Bit(end < 0 ? data : data.first(end)));

    const DesktopRegistration::Folders folders =
        m_folders ? *m_folders : DesktopRegistration::Folders::fromEnvironment();
    bool ok = true;
    for (const DesktopRegistration &registration : registrations())
        ok = registration.install(folders) && ok;
    return ok ? Success : AccessDenied;
}

qint32 FreedesktopRegistry::closeKey(Key key)
{
    return m_open.remove(key) ? Success : InvalidHandle;
}

QString FreedesktopRegistry::defaultValue(const QString &keyPath) const
{
    return m_defaults.value(keyPath.toLower());
}

QList<DesktopRegistration> FreedesktopRegistry::registrations() const
{
    QList<DesktopRegistration> result;
    QHash<QString, qsizetype> byType;
    for (auto value = m_defaults.constBegin(); value != m_defaults.constEnd(); ++value) {
        const QString &path = value.key();
        if (!path.startsWith(QLatin1Char('.')) || path.contains(Separator) || value->isEmpty())
            continue;
        const QString typeKey = *value;
        const QString type = typeKey.toLower();
        if (!byType.contains(type)) {
            byType.insert(type, result.size());
            DesktopRegistration registration;
            registration.typeKey = m_keys.value(type, typeKey);
            registration.description = defaultValue(type);
            registration.command = defaultValue(type + Registry::OpenCommandKey);
            registration.iconPath = defaultValue(type + Registry::DefaultIconKey);
            result.append(registration);
        }
        result[byType.value(type)].extensions.append(m_keys.value(path, path).mid(1));
    }
    for (DesktopRegistration &registration : result)
        registration.extensions.sort(Qt::CaseInsensitive);
    return result;
}
