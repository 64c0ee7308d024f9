#include "support/ScriptedDialogs.h"

#include <QTest>

ScriptedDialogs::Answer ScriptedDialogs::take(Kind kind, const QString &shownAs)
{
    if (m_answers.isEmpty() || m_answers.head().kind != kind) {
        m_unanswered.append(shownAs);
        return {kind, QMessageBox::NoButton, {}};
    }
    return m_answers.dequeue();
}

QMessageBox::StandardButton ScriptedDialogs::messageBox(QWidget *owner, const MessageBoxRequest &request)
{
    shown.append({Kind::Message, owner, request, {}, {}});
    return take(Kind::Message, QStringLiteral("message \"%1\"").arg(request.title)).button;
}

std::optional<QString> ScriptedDialogs::fileDialog(QWidget *owner, const FileDialogRequest &request)
{
    shown.append({Kind::File, owner, {}, request, {}});
    const QString path = take(Kind::File, QStringLiteral("file dialog \"%1\"").arg(request.title)).path;
    return path.isNull() ? std::nullopt : std::optional<QString>(path);
}

std::optional<QString> ScriptedDialogs::folderDialog(QWidget *owner, const QString &title)
{
    shown.append({Kind::Folder, owner, {}, {}, title});
    const QString path = take(Kind::Folder, QStringLiteral("folder dialog \"%1\"").arg(title)).path;
    return path.isNull() ? std::nullopt : std::optional<QString>(path);
}

void ScriptedDialogs::openUrl(const QUrl &url)
{
    shown.append({Kind::Url, nullptr, {}, {}, url.toString()});
}

QList<MessageBoxRequest> ScriptedDialogs::messages() const
{
    QList<MessageBoxRequest> result;
    for (const Shown &dialog : shown) {
        if (dialog.kind == Kind::Message)
            result.append(dialog.message);
    }
    return result;
}

QList<FileDialogRequest> ScriptedDialogs::fileDialogs() const
{
    QList<FileDialogRequest> result;
    for (const Shown &dialog : shown) {
        if (dialog.kind == Kind::File)
            result.append(dialog.file);
    }
    return result;
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
