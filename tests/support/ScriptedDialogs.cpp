#include "support/ScriptedDialogs.h"

#include <QTest>

ScriptedDialogs::Answer ScriptedDialogs::take(Kind kind, const QString &dialog)
{
    if (!m_answers.isEmpty() && m_answers.head().kind == kind)
        return m_answers.dequeue();
    m_unanswered.append(dialog);
    return {kind, QMessageBox::NoButton, {}};
}

std::optional<QString> ScriptedDialogs::path(const Answer &answer)
{
    return answer.path.isNull() ? std::nullopt : std::optional<QString>(answer.path);
}

QMessageBox::StandardButton ScriptedDialogs::messageBox(QWidget *, const MessageBoxRequest &request)
{
    messages.append(request);
    return take(Message, QStringLiteral("message \"%1\"").arg(request.title)).button;
}

std::optional<QString> ScriptedDialogs::fileDialog(QWidget *, const FileDialogRequest &request)
{
    fileDialogs.append(request);
    return path(take(File, QStringLiteral("file dialog \"%1\"").arg(request.title)));
}

std::optional<QString> ScriptedDialogs::folderDialog(QWidget *, const QString &title)
{
    folderDialogs.append(title);
    return path(take(Folder, QStringLiteral("folder dialog \"%1\"").arg(title)));
}

QString ScriptedDialogs::faults() const
{
    QStringList faults;
    for (const QString &dialog : m_unanswered)
        faults.append(QStringLiteral("no answer for the ") + dialog);
    if (!m_answers.isEmpty())
        faults.append(QStringLiteral("%1 answer(s) left over").arg(m_answers.size()));
    return faults.join(QStringLiteral("; "));
}

bool operator==(const MessageBoxRequest &left, const MessageBoxRequest &right)
{
    return left.text == right.text && left.title == right.title && left.buttons == right.buttons
        && left.defaultButton == right.defaultButton && left.icon == right.icon
        && left.escapeButton == right.escapeButton;
}

char *toString(const MessageBoxRequest &request)
{
    return QTest::toString(QStringLiteral("[%1] \"%2\" buttons %3 default %4 icon %5 escape %6")
                               .arg(request.title, request.text)
                               .arg(int(request.buttons))
                               .arg(int(request.defaultButton))
                               .arg(int(request.icon))
                               .arg(int(request.escapeButton)));
}
