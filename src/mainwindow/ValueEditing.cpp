#include "mainwindow/ValueEditing.h"

#include "docwindow/DocumentWindow.h"
#include "docwindow/ValueEditor.h"
#include "documents/Document.h"
#include "platform/Dialogs.h"

#include <QPointer>

void editSelectedValue(DocumentWindow &window, const QString &help, Dialogs &dialogs, QWidget *owner)
{
    const int row = window.selectedRow();
    QPointer<Document> document = window.document();
    if (row < 0 || !document || document->isSection(row))
        return;
    ValueEditor editor(document->name(row), document->value(row), help, owner);
    if (editor.exec() != QDialog::Accepted || !document)
        return;
    if (const QString refused = document->setValue(row, editor.value()); !refused.isEmpty()) {
        dialogs.message(owner, refused + QStringLiteral("\r\nNothing was changed."), QStringLiteral("Change Value"),
                        QMessageBox::Ok, QMessageBox::Warning);
    }
}
