#include "association/FileAssociation.h"

#include "association/WindowsCommandLine.h"
#include "settings/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <limits>

namespace {
const QString DefaultValue;
const QString OpenCommandKey = QStringLiteral("\\shell\\open\\command");
const QString DefaultIconKey = QStringLiteral("\\DefaultIcon");
}

void FileAssociation::AssociateFileType(const QString &typeKey, const QString &extension,
                                        const QString &description, const QString &iconPath)
{
    const QString command = openCommand(programPath());
    const QString extensionKey = QLatin1Char('.') + extension;

    CreateRegKey(extensionKey, Registry::ClassesRoot);
    WriteRegValue(extensionKey, DefaultValue, typeKey, Registry::TypeString);
    // Creating the command key creates the type key and its "shell" and "open" keys on the way.
    CreateRegKey(typeKey + OpenCommandKey, Registry::ClassesRoot);
    CreateRegKey(typeKey + DefaultIconKey, Registry::ClassesRoot);
    WriteRegValue(typeKey, DefaultValue, description, Registry::TypeString);
    WriteRegValue(typeKey + OpenCommandKey, DefaultValue, command, Registry::TypeString);
    WriteRegValue(typeKey + DefaultIconKey, DefaultValue, iconPath, Registry::TypeString);
}

void FileAssociation::CreateRegKey(const QString &keyPath, Registry::Key root)
{
    Registry &registry = Registry::current();
    Registry::Key key = 0;
    quint32 disposition = 0;
    registry.createKey(root, keyPath, Registry::OptionNonVolatile, Registry::KeyAllAccess, &key, &disposition);
    registry.closeKey(key);
}

void FileAssociation::WriteRegValue(const QString &keyPath, const QString &valueName, const QVariant &value,
                                    quint32 valueType)
{
    Registry &registry = Registry::current();
    Registry::Key key = 0;
    registry.openKey(Registry::ClassesRoot, keyPath, Registry::OptionNonVolatile, Registry::KeyAllAccess, &key);
    StoreRegValue(key, valueName, valueType, value);
    registry.closeKey(key);
}

qint32 FileAssociation::StoreRegValue(Registry::Key key, const QString &valueName, quint32 valueType,
                                      const QVariant &value)
{
    switch (valueType) {
    case Registry::TypeString: {
        // The registry's 8-bit calls take the text in the system's code page, its NUL counted.
        QByteArray data = value.toString().toLocal8Bit();
        data.append('\0');
        return Registry::current().setValue(key, valueName, valueType, data);
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
        return Registry::current().setValue(key, valueName, valueType, data);
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
