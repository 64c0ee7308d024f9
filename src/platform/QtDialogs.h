#pragma once

#include "platform/Dialogs.h"

// The platform's own dialogs, through Qt.
class QtDialogs final : public Dialogs
{
public:
    QMessageBox::StandardButton messageBox(QWidget *owner, const MessageBoxRequest &request) override;
    std::optional<QString> fileDialog(QWidget *owner, const FileDialogRequest &request) override;
    std::optional<QString> folderDialog(QWidget *owner, const QString &title) override;
    void openUrl(const QUrl &url) override;
};
