#pragma once

#include "association/DesktopRegistration.h"
#include "association/Registry.h"

#include <QHash>

#include <optional>

// The file types' keys on a freedesktop desktop. The keys and their default values live in memory
// for the life of the program; after each write the file types they describe are registered with
// the desktop for the current user (DesktopRegistration). A registration that cannot be written
// makes the write fail with AccessDenied, as the registry does for a user without the right.
class FreedesktopRegistry final : public Registry
{
public:
    // The user's folders, looked up at each write.
    FreedesktopRegistry() = default;
    explicit FreedesktopRegistry(const DesktopRegistration::Folders &folders) : m_folders(folders) {}

    qint32 createKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result,
                     quint32 *disposition) override;
    qint32 openKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result) override;
    qint32 setValue(Key key, const QString &valueName, quint32 type, const QByteArray &data) override;
    qint32 closeKey(Key key) override;

    // The file types that the keys describe so far, by type key.
    QList<DesktopRegistration> registrations() const;

private:
    // The full path of subKey below root in its normal form, or nothing for a bad path or root.
    std::optional<QString> keyPath(Key root, const QString &subKey) const;
    QString defaultValue(const QString &keyPath) const;

    std::optional<DesktopRegistration::Folders> m_folders;
    QHash<QString, QString> m_keys;        // lower case path to the path as created
    QHash<QString, QString> m_defaults;    // lower case path to the key's default value
    QHash<Key, QString> m_open;            // open keys to their lower case path
    Key m_nextKey = 1;
};
