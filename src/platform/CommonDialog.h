#pragma once

#include "platform/Dialogs.h"

// A file dialog whose settings stay between showings, as the old common dialog control's did:
// every showing starts with the file name chosen last.
class CommonDialog
{
public:
    QString title;
    QStringList filters;
    int filterIndex = 0;
    QString defaultSuffix;
    QString directory;
    QString fileName;

    // True when the user chose a file; fileName then holds its full path.
    bool showOpen(QWidget *owner);
    bool showSave(QWidget *owner);

private:
    bool show(QWidget *owner, FileDialogRequest::Mode mode);
};
