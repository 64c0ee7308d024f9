#include "platform/CommonDialog.h"

bool CommonDialog::showOpen(QWidget *owner)
{
    return show(owner, FileDialogRequest::Mode::Open);
}

bool CommonDialog::showSave(QWidget *owner)
{
    return show(owner, FileDialogRequest::Mode::Save);
}

bool CommonDialog::show(QWidget *owner, FileDialogRequest::Mode mode)
{
    const std::optional<QString> chosen = Dialogs::current().fileDialog(
        owner, FileDialogRequest{mode, title, filters, filterIndex, defaultSuffix, directory, fileName});
    if (!chosen)
        return false;
    fileName = *chosen;
    return true;
}
