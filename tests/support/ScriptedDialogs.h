#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QMetaType>
#include <QQueue>
#include <QWidget>

// Answers the platform's dialogs from a script and records every one shown, so a test can check
// exactly what the user would have seen. A dialog without an answer of its kind, and an answer left
// over, are faults of the test: faults() lists them.
class ScriptedDialogs final : public Dialogs
{
public:
    enum class Kind { Message, File, Folder, Url };
    struct Shown
    {
        Kind kind = Kind::Message;
        QWidget *owner = nullptr;
        MessageBoxRequest message;      // Kind::Message
        FileDialogRequest file;         // Kind::File
        QString text;                   // the folder dialog's title, or the address opened
    };

    // The answers, used in the order the dialogs appear. A null path cancels the dialog.
    void answerMessage(QMessageBox::StandardButton button) { m_answers.enqueue({Kind::Message, button, {}}); }
    void answerFile(const QString &path) { m_answers.enqueue({Kind::File, QMessageBox::NoButton, path}); }
    void answerFolder(const QString &path) { m_answers.enqueue({Kind::Folder, QMessageBox::NoButton, path}); }

    QList<Shown> shown;
    QList<MessageBoxRequest> messages() const;
    QList<FileDialogRequest> fileDialogs() const;
    // Empty when every dialog shown had its answer and none is left.
    QString faults() const;

    QMessageBox::StandardButton messageBox(QWidget *owner, const MessageBoxRequest &request) override;
    std::optional<QString> fileDialog(QWidget *owner, const FileDialogRequest &request) override;
    std::optional<QString> folderDialog(QWidget *owner, const QString &title) override;
    void openUrl(const QUrl &url) override;

private:
    struct Answer
    {
        Kind kind;
        QMessageBox::StandardButton button;
        QString path;
    };
    // The next answer when it is of this kind; an unanswered dialog otherwise.
    Answer take(Kind kind, const QString &shownAs);

    QQueue<Answer> m_answers;
    QStringList m_unanswered;
};

// Message boxes compare by everything the user sees and by the answer Escape gives.
bool operator==(const MessageBoxRequest &left, const MessageBoxRequest &right);
char *toString(const MessageBoxRequest &request);
Q_DECLARE_METATYPE(MessageBoxRequest)
