#include "dialogs/AssociateFiles.h"

#include "association/FileAssociation.h"
#include "platform/Dialogs.h"

void associateFbiFilesAndTell(Registry &registry, Dialogs &dialogs, QWidget *owner)
{
    FileAssociation::associateFbiFiles(registry);
    dialogs.message(owner, QStringLiteral("You will need to restart your computer for settings to take affect."),
                    QStringLiteral("Restart"), QMessageBox::Ok, QMessageBox::Information);
}
