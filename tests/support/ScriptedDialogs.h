#pragma once

#include "platform/Dialogs.h"

#include <QList>

// Answers the platform's dialogs from a script and records every one shown, so a test can check
// exactly what the user would have seen. A dialog without an answer, and an answer left over, are
// faults of the test: faults() names them.
class ScriptedDialogs final : public Dialogs
{
public:
    // The answers in the order the dialogs appear: the buttons of the message boxes, the paths
    // chosen in the file and folder dialogs (several files one to a line; a null path cancels), and
    // the texts typed where a line of text is asked for (a null text cancels).
    QList<QMessageBox::StandardButton> buttons;
    QStringList paths;
    QStringList texts;
    // The state a file dialog's box is left in, for each dialog with a box; without, it stays as
    // it opened.
    QList<bool> checkBoxes;

    QList<MessageBoxRequest> messages;
    QList<FileDialogRequest> fileDialogs;     // folder dialogs too: their title and directory
    QList<QUrl> openedUrls;
    // Empty when every dialog shown had its answer and none is left.
    QString faults() const;

    QMessageBox::StandardButton messageBox(QWidget *owner, const MessageBoxRequest &request) override;
    QStringList fileDialog(QWidget *owner, const FileDialogRequest &request) override;
    std::optional<QString> folderDialog(QWidget *owner, const QString &title, const QString &directory) override;
    std::optional<QString> textInput(QWidget *owner, const QString &title, const QString &label,
                                     const QString &text) override;
    void openUrl(const QUrl &url) override { openedUrls.append(url); }

private:
    std::optional<QString> take(QStringList &answers, const QString &dialog);

    QStringList m_unanswered;
};
