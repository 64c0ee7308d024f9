#include "support/ScriptedDialogs.h"

QMessageBox::StandardButton ScriptedDialogs::messageBox(QWidget *, const MessageBoxRequest &request)
{
    messages.append(request);
    if (!buttons.isEmpty())
        return buttons.takeFirst();
    m_unanswered.append(request.title);
    return QMessageBox::NoButton;
}

QStringList ScriptedDialogs::fileDialog(QWidget *, const FileDialogRequest &request)
{
    fileDialogs.append(request);
    const std::optional<QString> chosen = take(paths, request.title);
    if (chosen && request.checkBox && !request.checkBoxText.isEmpty() && !checkBoxes.isEmpty())
        *request.checkBox = checkBoxes.takeFirst();
    return chosen ? chosen->split(QLatin1Char('\n')) : QStringList();
}

std::optional<QString> ScriptedDialogs::folderDialog(QWidget *, const QString &title, const QString &directory)
{
    fileDialogs.append(FileDialogRequest{FileDialogRequest::Mode::Open, title, {}, 0, {}, directory, {}});
    return take(paths, title);
}

std::optional<QString> ScriptedDialogs::textInput(QWidget *, const QString &title, const QString &, const QString &)
{
    return take(texts, title);
}

std::optional<QString> ScriptedDialogs::take(QStringList &answers, const QString &dialog)
{
    if (answers.isEmpty()) {
        m_unanswered.append(dialog);
        return std::nullopt;
    }
    const QString answer = answers.takeFirst();
    return answer.isNull() ? std::nullopt : std::optional<QString>(answer);
}

QString ScriptedDialogs::faults() const
{
    if (m_unanswered.isEmpty() && buttons.isEmpty() && paths.isEmpty() && texts.isEmpty())
        return {};
    return QStringLiteral("unanswered: \"%1\"; answers left: %2 buttons, %3 paths, %4 texts")
        .arg(m_unanswered.join(QStringLiteral("\", \"")))
        .arg(buttons.size())
        .arg(paths.size())
        .arg(texts.size());
}
