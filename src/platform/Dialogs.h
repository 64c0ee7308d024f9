#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class QWidget;

struct MessageBoxRequest
{
    QString text;
    QString title;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    // The answer that Escape and the close box give when it is none of the buttons shown (a
    // question whose every answer acts can still be left alone); NoButton leaves it to the box.
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
    // Buttons that say what they do in words of their own, such as "Save in the Standard Layout".
    QList<std::pair<QMessageBox::StandardButton, QString>> buttonTexts = {};
};

struct FileDialogRequest
{
    enum class Mode { Open, OpenMany, Save };
    Mode mode = Mode::Open;
    QString title;
    QStringList filters;        // "Text(*.ext)" entries
    int filterIndex = 0;        // the entry selected when the dialog opens
    QString defaultSuffix;      // added to a typed name that has none
    QString directory;          // where the dialog starts; empty for the platform's default
    QString fileName;           // the name the dialog starts with
    // A box to tick under the file name (such as an option of the file's format); none when the
    // text is empty. It starts as *checkBox is, and *checkBox is set to it when a file is chosen.
    QString checkBoxText{};
    bool *checkBox = nullptr;
};

// Every dialog the program takes from the platform goes through here, so that tests can answer
// them and check exactly what the user would have seen.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual QMessageBox::StandardButton messageBox(QWidget *owner, const MessageBoxRequest &request) = 0;
    // The chosen files' full paths (one, but for OpenMany), or none when the user cancels. A save
    // dialog does not ask about replacing a file: the caller knows which files may be replaced.
    virtual QStringList fileDialog(QWidget *owner, const FileDialogRequest &request) = 0;
    // The chosen folder's path as the platform gives it, or nothing when the user cancels. The
    // dialog starts in directory; empty for the platform's default.
    virtual std::optional<QString> folderDialog(QWidget *owner, const QString &title, const QString &directory) = 0;
    // A line of text the user types, starting with text; nothing when the user cancels.
    virtual std::optional<QString> textInput(QWidget *owner, const QString &title, const QString &label,
                                             const QString &text) = 0;
    // Opens a web address in the user's browser; the outcome is not reported.
    virtual void openUrl(const QUrl &url) = 0;

    // A modal message box; returns the button pressed.
    QMessageBox::StandardButton message(QWidget *owner, const QString &text, const QString &title,
                                        QMessageBox::StandardButtons buttons, QMessageBox::Icon icon,
                                        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton)
    {
        return messageBox(owner, MessageBoxRequest{text, title, buttons, defaultButton, icon});
    }
};
