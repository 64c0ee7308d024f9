#include "dialogs/AssociateFiles.h"

#include "association/FileAssociation.h"
#include "platform/Dialogs.h"

void associateFbiFilesAndTell(Registry &registry, Dialogs &dialogs, QWidget *owner)
{
    FileAssociation::associateFbiFiles(registry);
#if defined(Q_OS_WIN)
    dialogs.message(owner, QStringLiteral("You will need to restart your computer for settings to take affect."),
                    QStringLiteral("Restart"), QMessageBox::Ok, QMessageBox::Information);
#else
    // A freedesktop desktop reads the new file type at once; there is nothing to restart.
    Q_UNUSED(dialogs);
    Q_UNUSED(owner);
#endif
}
