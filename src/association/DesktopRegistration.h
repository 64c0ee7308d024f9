#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// A file type as a freedesktop desktop knows it: a MIME type with its file name patterns, comment
// and icon, and a desktop entry for the program that opens it, made the type's default
// application. It is the same registration that the file types' keys make on Windows.
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

    QString typeKey;            // "Korvid4": names the MIME type, the desktop entry and the icon
    QStringList extensions;     // without the dot
    QString description;        // the MIME type's comment
    QString command;            // a Windows open command: the program, then "%1" for the file
    QString iconPath;           // an icon file: a Windows icon or a PNG

    // The type key in the characters that file names and MIME types allow, lower case.
    QString name() const;
    QString mimeType() const;
    // Not the installed program's own entry name: a user's entry of that name would hide the
    // installed one from the menus.
    QString desktopFileName() const { return name() + QStringLiteral("-files.desktop"); }

    QByteArray mimePackage(bool withIcon) const;
    // Nothing when the command names no program.
    std::optional<QByteArray> desktopEntry(bool withIcon) const;

    // The command's arguments as a desktop entry's Exec value: quoted where the format requires
    // it, the file placeholder as %f.
    static QString execLine(const QStringList &arguments);
    // The mimeapps.list text with desktopFile as the type's default application, the rest kept.
    static QByteArray withDefaultApplication(const QByteArray &mimeapps, const QString &mimeType,
                                             const QString &desktopFile);

    // Writes the files that changed and refreshes the desktop's databases for them. False when
    // anything could not be written; what could be written stays.
    bool install(const Folders &folders) const;
};
