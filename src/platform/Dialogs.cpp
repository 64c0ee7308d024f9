#include "platform/Dialogs.h"

#include "platform/QtDialogs.h"

namespace {
QtDialogs qtDialogs;
Dialogs *currentDialogs = &qtDialogs;
}

Dialogs &Dialogs::current()
{
    return *currentDialogs;
}

void Dialogs::install(Dialogs *dialogs)
{
    currentDialogs = dialogs ? dialogs : &qtDialogs;
}

QMessageBox::StandardButton showMessage(QWidget *owner, const QString &text, const QString &title,
                                        QMessageBox::StandardButtons buttons, QMessageBox::Icon icon,
                                        QMessageBox::StandardButton defaultButton)
{
    return Dialogs::current().messageBox(owner, MessageBoxRequest{text, title, buttons, defaultButton, icon});
}
