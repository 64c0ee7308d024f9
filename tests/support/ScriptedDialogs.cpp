#include "support/ScriptedDialogs.h"

QMessageBox::StandardButton ScriptedDialogs::messageBox(QWidget *, const MessageBoxRequest &request)
{
    messages.append(request);
    if (!buttons.isEmpty())
        return buttons.takeFirst();
    m_unanswered.append(request.title);
    return QMessageBox::NoButton;
}

std::optional<QString> ScriptedDialogs::fileDialog(QWidget *, const FileDialogRequest &request)
{
    fileDialogs.append(request);
    return takePath(request.title);
}

std::optional<QString> ScriptedDialogs::folderDialog(QWidget *, const QString &title)
{
    return takePath(title);
}

std::optional<QString> ScriptedDialogs::takePath(const QString &dialog)
{
    if (paths.isEmpty()) {
        m_unanswered.append(dialog);
        return std::nullopt;
    }
    const QString path = paths.takeFirst();
    return path.isNull() ? std::nullopt : std::optional<QString>(path);
}

QString ScriptedDialogs::faults() const
{
    if (m_unanswered.isEmpty() && buttons.isEmpty() && paths.isEmpty())
        return {};
    return QStringLiteral("unanswered: \"%1\"; answers left: %2 buttons, %3 paths")
        .arg(m_unanswered.join(QStringLiteral("\", \"")))
        .arg(buttons.size())
        .arg(paths.size());
}
