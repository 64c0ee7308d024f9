#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QMetaType>
#include <QQueue>

// Answers the platform's dialogs from a script and records every one shown, so a test can check
// exactly what the user would have seen. A dialog without an answer of its kind, and an answer left
// over, are faults of the test: faults() names them.
class ScriptedDialogs final : public Dialogs
{
public:
    // The answers, used in the order the dialogs appear. A null path cancels the dialog.
    void answerMessage(QMessageBox::StandardButton button) { m_answers.enqueue({Message, button, {}}); }
    void answerFile(const QString &path) { m_answers.enqueue({File, QMessageBox::NoButton, path}); }
    void answerFolder(const QString &path) { m_answers.enqueue({Folder, QMessageBox::NoButton, path}); }

    QList<MessageBoxRequest> messages;
    QList<FileDialogRequest> fileDialogs;
    QStringList folderDialogs;      // their titles
    QList<QUrl> openedUrls;
    // Empty when every dialog shown had its answer and none is left.
    QString faults() const;

    QMessageBox::StandardButton messageBox(QWidget *owner, const MessageBoxRequest &request) override;
    std::optional<QString> fileDialog(QWidget *owner, const FileDialogRequest &request) override;
    std::optional<QString> folderDialog(QWidget *owner, const QString &title) override;
    void openUrl(const QUrl &url) override { openedUrls.append(url); }

private:
    enum Kind { Message, File, Folder };
    struct Answer
    {
        Kind kind;
        QMessageBox::StandardButton button;
        QString path;
    };
    // The next answer when it is of this kind; an unanswered dialog otherwise.
    Answer take(Kind kind, const QString &dialog);
    static std::optional<QString> path(const Answer &answer);

    QQueue<Answer> m_answers;
    QStringList m_unanswered;
};

// Message boxes compare by everything the user sees and by the answer Escape gives.
bool operator==(const MessageBoxRequest &left, const MessageBoxRequest &right);
char *toString(const MessageBoxRequest &request);
Q_DECLARE_METATYPE(MessageBoxRequest)
