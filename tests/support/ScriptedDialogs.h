#pragma once

#include "platform/Dialogs.h"

#include <QList>

// Answers the platform's dialogs from a script and records every one shown, so a test can check
// exactly what the user would have seen. A dialog without an answer, and an answer left over, are
// faults of the test: faults() names them.
class ScriptedDialogs final : public Dialogs
{
public:
    // The answers in the order the dialogs appear: the buttons of the message boxes, and the paths
    // chosen in the file and folder dialogs, where a null path cancels.
    QList<QMessageBox::StandardButton> buttons;
    QStringList paths;

    QList<MessageBoxRequest> messages;
    QList<FileDialogRequest> fileDialogs;
    QList<QUrl> openedUrls;
    // Empty when every dialog shown had its answer and none is left.
    QString faults() const;

    QMessageBox::StandardButton messageBox(QWidget *owner, const MessageBoxRequest &request) override;
    std::optional<QString> fileDialog(QWidget *owner, const FileDialogRequest &request) override;
    std::optional<QString> folderDialog(QWidget *owner, const QString &title) override;
    void openUrl(const QUrl &url) override { openedUrls.append(url); }

private:
    std::optional<QString> takePath(const QString &dialog);

    QStringList m_unanswered;
};
