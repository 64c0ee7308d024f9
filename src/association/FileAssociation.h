#pragma once

#include "association/Registry.h"

#include <QString>
#include <QVariant>

// Makes the platform open files of one extension with this program: four keys under the file
// types' root, written through the registry layer. Nothing is read back and nothing is reported;
// the callers record the association and tell the user.
namespace FileAssociation {
// Makes ".fbi" files open with this program, under the program's title, with its icon.
void associateFbiFiles(Registry &registry);

// Writes the extension's key, the type key with its description, its open command and its icon.
void AssociateFileType(Registry &registry, const QString &typeKey, const QString &extension, const QString &description,
                       const QString &iconPath);

// Creates the key below root, with its missing parents, and closes it again.
void CreateRegKey(Registry &registry, const QString &keyPath, Registry::Key root);
// Sets one value of a key below the file types' root. A key that does not open is passed on as
// key 0, where storing and closing fail without effect.
void WriteRegValue(Registry &registry, const QString &keyPath, const QString &valueName, const QVariant &value, quint32 valueType);
// Stores a string as 8-bit text with one NUL, or a number as 4 bytes; other types store nothing
// and succeed. A number that does not fit 32 bits stores nothing. Returns the platform's status.
qint32 StoreRegValue(Registry &registry, Registry::Key key, const QString &valueName, quint32 valueType, const QVariant &value);

// The command that opens one file with the program at programPath: both quoted, the program so
// that a path with blanks cannot start another program.
QString openCommand(const QString &programPath);
// How the platform starts this program: on Windows the executable without ".exe" beside its
// folder, elsewhere the executable itself.
QString programPath();
}
