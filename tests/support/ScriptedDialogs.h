#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QWidget>

#include <variant>

// Answers the platform's dialogs from a script and records every one shown, so a test can check
// exactly what the user would have seen.
class ScriptedDialogs final : public Dialogs
{
public:
    struct Folder
    {
        QString title;
    };
    using Request = std::variant<MessageBoxRequest, FileDialogRequest, Folder, QUrl>;
    struct Shown
    {
        Request request;
        QWidget *owner = nullptr;
    };

    // The answers, used in the order the dialogs appear.
    void answerMessage(QMessageBox::StandardButton button) { m_answers.enqueue(button); }
    void answerFile(const std::optional<QString> &path) { m_answers.enqueue(path); }
    void answerFolder(const std::optional<QString> &path) { m_answers.enqueue(FolderAnswer{path}); }

    QList<Shown> shown;
    // Dialogs that appeared without an answer, and answers left over: both are test faults.
    int unanswered = 0;
    qsizetype unusedAnswers() const { return m_answers.size(); }

    QList<MessageBoxRequest> messages() const;
    QList<FileDialogRequest> fileDialogs() const;
    void clear();

    QMessageBox::StandardButton messageBox(QWidget *owner, const MessageBoxRequest &request) override;
    std::optional<QString> fileDialog(QWidget *owner, const FileDialogRequest &request) override;
    std::optional<QString> folderDialog(QWidget *owner, const QString &title) override;
    void openUrl(const QUrl &url) override;

private:
    struct FolderAnswer
    {
        std::optional<QString> path;
    };
    using Answer = std::variant<QMessageBox::StandardButton, std::optional<QString>, FolderAnswer>;
    template<typename T>
    std::optional<T> take();

    QQueue<Answer> m_answers;
};

// Message boxes compare by the exact texts, buttons, default button and icon the user sees.
bool operator==(const MessageBoxRequest &left, const MessageBoxRequest &right);
char *toString(const MessageBoxRequest &request);
