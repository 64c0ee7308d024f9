#include "dialogs/AssociateFiles.h"

#include "association/FileAssociation.h"
#include "association/FileTypeRegistry.h"
#include "platform/Dialogs.h"

bool associateFbiFiles(FileTypeRegistry &registry, Dialogs &dialogs, QWidget *owner)
{
    const RegistrationOutcome outcome = registry.registerFileType(FileAssociation::fbiFiles());
    if (!outcome.ok) {
        dialogs.message(owner,
                        QStringLiteral("Cannot associate .FBI files with Korvid.\r\n") + outcome.reason,
                        QStringLiteral("Error Associating Files"), QMessageBox::Ok, QMessageBox::Critical);
        return false;
    }
#if defined(Q_OS_WIN)
    dialogs.message(owner, QStringLiteral("You will need to restart your computer for settings to take affect."),
                    QStringLiteral("Restart"), QMessageBox::Ok, QMessageBox::Information);
#endif
    // A freedesktop desktop reads the new file type at once; there is nothing to restart.
    return true;
}
