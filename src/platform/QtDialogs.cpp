#include "platform/QtDialogs.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QPushButton>

QMessageBox::StandardButton QtDialogs::messageBox(QWidget *owner, const MessageBoxRequest &request)
{
    QMessageBox box(request.icon, request.title, request.text, request.buttons, owner);
    if (request.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(request.defaultButton);
    for (const auto &[button, text] : request.buttonTexts) {
        if (QAbstractButton *shown = box.button(button))
            shown->setText(text);
    }
    // An answer of Escape and the close box alone: a button that is there but never shown.
    if (request.escapeButton != QMessageBox::NoButton) {
        if (!box.button(request.escapeButton))
            box.addButton(request.escapeButton)->hide();
        box.setEscapeButton(request.escapeButton);
    }
    return QMessageBox::StandardButton(box.exec());
}

QStringList QtDialogs::fileDialog(QWidget *owner, const FileDialogRequest &request)
{
    QFileDialog dialog(owner, request.title, request.directory);
    const bool saving = request.mode == FileDialogRequest::Mode::Save;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The name is not checked here: a file that is not there is reported when it is opened.
    dialog.setFileMode(request.mode == FileDialogRequest::Mode::OpenMany ? QFileDialog::ExistingFiles
                                                                         : QFileDialog::AnyFile);
    if (saving)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(request.filters);
    if (request.filterIndex >= 0 && request.filterIndex < request.filters.size())
        dialog.selectNameFilter(request.filters.at(request.filterIndex));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    // The platform's own dialog takes no widget of ours: the box needs Qt's.
    QCheckBox *box = nullptr;
    auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
    if (!request.checkBoxText.isEmpty() && request.checkBox) {
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        grid = qobject_cast<QGridLayout *>(dialog.layout());
    }
    if (grid && !request.checkBoxText.isEmpty() && request.checkBox) {
        box = new QCheckBox(request.checkBoxText, &dialog);
        box->setChecked(*request.checkBox);
        grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (box)
        *request.checkBox = box->isChecked();
    QStringList files;
    for (const QString &file : dialog.selectedFiles())
        files.append(QDir::toNativeSeparators(file));
    return files;
}

std::optional<QString> QtDialogs::folderDialog(QWidget *owner, const QString &title, const QString &directory)
{
    const QString folder = QFileDialog::getExistingDirectory(owner, title, directory);
    if (folder.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(folder);
}

std::optional<QString> QtDialogs::textInput(QWidget *owner, const QString &title, const QString &label,
                                            const QString &text)
{
    bool accepted = false;
    const QString typed = QInputDialog::getText(owner, title, label, QLineEdit::Normal, text, &accepted);
    if (!accepted)
        return std::nullopt;
    return typed;
}

void QtDialogs::openUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}
