#pragma once

#include "association/FileType.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A file type as a freedesktop desktop knows it: a MIME type with its file name pattern, comment
// and icon, and a desktop entry for the program that opens it, made the type's default
// application. It is the registration that the file types' keys make on Windows.
class DesktopRegistration
{
public:
    // Where a user's registrations live.
    struct Folders
    {
        QString dataHome;       // $XDG_DATA_HOME, by default ~/.local/share
        QString configHome;     // $XDG_CONFIG_HOME, by default ~/.config

        static Folders fromEnvironment();
    };

    // What install() did: the reason it failed, if it did, and the desktop's database tools to run
    // for the files it changed, each a program and its arguments.
    struct Installed
    {
        bool ok = false;
        QString reason;
        QList<QStringList> tools;
    };

    explicit DesktopRegistration(const FileType &type) : m_type(type) {}

    // The type key in the characters that file names and MIME types allow, lower case.
    QString name() const;
    QString mimeType() const;
    // Not the installed program's own entry name: a user's entry of that name would hide the
    // installed one from the menus.
    QString desktopFileName() const { return name() + QStringLiteral("-files.desktop"); }

    QByteArray mimePackage(bool withIcon) const;
    QByteArray desktopEntry(bool withIcon) const;

    // A program path as a desktop entry's Exec value, quoted where the format requires it, and
    // the file placeholder %f after it.
    static QString execLine(const QString &program);
    // The mimeapps.list text with desktopFile as the type's default application, the rest kept.
    static QByteArray withDefaultApplication(const QByteArray &mimeapps, const QString &mimeType,
                                             const QString &desktopFile);

    // Writes the files that changed: the icon's pictures in the sizes the icon theme has, the MIME
    // type, the desktop entry and the default application. Each file is replaced whole or not at
    // all; what could be written stays when a later one fails.
    Installed install(const Folders &folders) const;

private:
    FileType m_type;
};
