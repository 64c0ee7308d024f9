#pragma once

#include <QString>

// A kind of file that the desktop opens with a program: what the user's file manager shows for it
// and what it starts on a double-click.
struct FileType
{
    QString typeKey;        // names the type to the desktop, such as "Korvid4"
    QString extension;      // without the dot, such as "fbi"
    QString description;    // shown for the files, such as "FBI File"
    QString program;        // the program that opens them, in the platform's notation
    QString iconPath;       // a Windows icon file (.ico) holding the type's pictures
};
