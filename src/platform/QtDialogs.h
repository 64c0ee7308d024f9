#pragma once

#include "platform/Dialogs.h"

// The platform's own dialogs, through Qt.
class QtDialogs final : public Dialogs
{
public:
    QMessageBox::StandardButton messageBox(QWidget *owner, const MessageBoxRequest &request) override;
    QStringList fileDialog(QWidget *owner, const FileDialogRequest &request) override;
    std::optional<QString> folderDialog(QWidget *owner, const QString &title, const QString &directory) override;
    std::optional<QString> textInput(QWidget *owner, const QString &title, const QString &label,
                                     const QString &text) override;
    void openUrl(const QUrl &url) override;
};
