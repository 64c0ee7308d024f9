#include "association/FileAssociation.h"

#include "association/WindowsCommandLine.h"
#include "settings/ProgramFolder.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <limits>

namespace {
const QString DefaultValue;
}

void FileAssociation::associateFbiFiles(Registry &registry)
{
    AssociateFileType(registry, Settings::ProgramTitle, QStringLiteral("fbi"), QStringLiteral("FBI File"),
                      ProgramFolder::file(QStringLiteral("Korvid.ico")));
}

void FileAssociation::AssociateFileType(Registry &registry, const QString &typeKey, const QString &extension,
                                        const QString &description, const QString &iconPath)
{
    const QString command = openCommand(programPath());
    const QString extensionKey = QLatin1Char('.') + extension;

    CreateRegKey(registry, extensionKey, Registry::ClassesRoot);
    WriteRegValue(registry, extensionKey, DefaultValue, typeKey, Registry::TypeString);
    // Creating the command key creates the type key and its "shell" and "open" keys on the way.
    CreateRegKey(registry, typeKey + Registry::OpenCommandKey, Registry::ClassesRoot);
    CreateRegKey(registry, typeKey + Registry::DefaultIconKey, Registry::ClassesRoot);
    WriteRegValue(registry, typeKey, DefaultValue, description, Registry::TypeString);
    WriteRegValue(registry, typeKey + Registry::OpenCommandKey, DefaultValue, command, Registry::TypeString);
    WriteRegValue(registry, typeKey + Registry::DefaultIconKey, DefaultValue, iconPath, Registry::TypeString);
}

void FileAssociation::CreateRegKey(Registry &registry, const QString &keyPath, Registry::Key root)
{
    Registry::Key key = 0;
    quint32 disposition = 0;
    registry.createKey(root, keyPath, Registry::OptionNonVolatile, Registry::KeyAllAccess, &key, &disposition);
    registry.closeKey(key);
}

void FileAssociation::WriteRegValue(Registry &registry, const QString &keyPath, const QString &valueName,
                                    const QVariant &value, quint32 valueType)
{
    Registry::Key key = 0;
    registry.openKey(Registry::ClassesRoot, keyPath, Registry::OptionNonVolatile, Registry::KeyAllAccess, &key);
    StoreRegValue(registry, key, valueName, valueType, value);
    registry.closeKey(key);
}

qint32 FileAssociation::StoreRegValue(Registry &registry, Registry::Key key, const QString &valueName, quint32 valueType,
                                      const QVariant &value)
{
    switch (valueType) {
    case Registry::TypeString: {
        // The registry's 8-bit calls take the text in the system's code page, its NUL counted.
        QByteArray data = value.toString().toLocal8Bit();
        data.append('\0');
        return registry.setValue(key, valueName, valueType, data);
    }
    case Registry::TypeDword: {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (!ok || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
            return Registry::InvalidParameter;
        const auto bits = quint32(qint32(number));
        QByteArray data(4, Qt::Uninitialized);
        for (int byte = 0; byte < 4; ++byte)
            data[byte] = char((bits >> (8 * byte)) & 0xFF);
        return registry.setValue(key, valueName, valueType, data);
    }
    default:
        return Registry::Success;
    }
}

QString FileAssociation::openCommand(const QString &programPath)
{
    return WindowsCommandLine::quote(programPath) + QStringLiteral(" \"%1\"");
}

QString FileAssociation::programPath()
{
#if defined(Q_OS_WIN)
    return ProgramFolder::join(ProgramFolder::path(),
                               QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
#else
    // An extension here is part of the file's name: without it the name would not start anything.
    return ProgramFolder::join(ProgramFolder::path(), QFileInfo(QCoreApplication::applicationFilePath()).fileName());
#endif
}
