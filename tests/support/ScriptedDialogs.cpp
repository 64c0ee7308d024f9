#include "support/ScriptedDialogs.h"

#include <QTest>

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
