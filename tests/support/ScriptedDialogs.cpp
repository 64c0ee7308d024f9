#include "support/ScriptedDialogs.h"

#include <QTest>

template<typename T>
std::optional<T> ScriptedDialogs::take()
{
    if (m_answers.isEmpty() || !std::holds_alternative<T>(m_answers.head())) {
        ++unanswered;
        return std::nullopt;
    }
    return std::get<T>(m_answers.dequeue());
}

QMessageBox::StandardButton ScriptedDialogs::messageBox(QWidget *owner, const MessageBoxRequest &request)
{
    shown.append({request, owner});
    return take<QMessageBox::StandardButton>().value_or(QMessageBox::NoButton);
}

std::optional<QString> ScriptedDialogs::fileDialog(QWidget *owner, const FileDialogRequest &request)
{
    shown.append({request, owner});
    return take<std::optional<QString>>().value_or(std::nullopt);
}

std::optional<QString> ScriptedDialogs::folderDialog(QWidget *owner, const QString &title)
{
    shown.append({Folder{title}, owner});
    const std::optional<FolderAnswer> answer = take<FolderAnswer>();
    return answer ? answer->path : std::nullopt;
}

void ScriptedDialogs::openUrl(const QUrl &url)
{
    shown.append({url, nullptr});
}

QList<MessageBoxRequest> ScriptedDialogs::messages() const
{
    QList<MessageBoxRequest> result;
    for (const Shown &dialog : shown) {
        if (const auto *message = std::get_if<MessageBoxRequest>(&dialog.request))
            result.append(*message);
    }
    return result;
}

QList<FileDialogRequest> ScriptedDialogs::fileDialogs() const
{
    QList<FileDialogRequest> result;
    for (const Shown &dialog : shown) {
        if (const auto *file = std::get_if<FileDialogRequest>(&dialog.request))
            result.append(*file);
    }
    return result;
}

void ScriptedDialogs::clear()
{
    shown.clear();
    unanswered = 0;
    m_answers.clear();
}

bool operator==(const MessageBoxRequest &left, const MessageBoxRequest &right)
{
    return left.text == right.text && left.title == right.title && left.buttons == right.buttons
        && left.defaultButton == right.defaultButton && left.icon == right.icon;
}

char *toString(const MessageBoxRequest &request)
{
    return QTest::toString(QStringLiteral("[%1] \"%2\" buttons %3 default %4 icon %5")
                               .arg(request.title, request.text)
                               .arg(int(request.buttons))
                               .arg(int(request.defaultButton))
                               .arg(int(request.icon)));
}
