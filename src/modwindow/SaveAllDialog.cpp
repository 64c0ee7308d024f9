#include "modwindow/SaveAllDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

SaveAllDialog::SaveAllDialog(const QList<SavePreview::File> &files, const QString &folder, QWidget *parent)
    : QDialog(parent)
    , m_list(new QTreeWidget)
    , m_summary(new QLabel)
    , m_dontAsk(new QCheckBox(QStringLiteral("&Don't ask again: Save All saves at once")))
{
    setObjectName(QStringLiteral("frmSaveAll"));
    setWindowTitle(QStringLiteral("Save All"));
    m_list->setObjectName(QStringLiteral("lstFiles"));
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_dontAsk->setObjectName(QStringLiteral("chkDontAsk"));
    m_list->setHeaderLabels({QStringLiteral("Line"), QStringLiteral("Text")});
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(0, fontMetrics().horizontalAdvance(QStringLiteral("units/armcom_long.fbi (12 lines)")));
    m_list->setUniformRowHeights(true);

    const QDir root(folder);
    int lines = 0;
    for (const SavePreview::File &file : files) {
        const int changed = file.changedLines();
        lines += changed;
        auto *item = new QTreeWidgetItem(m_list);
        const QString name = QDir::toNativeSeparators(folder.isEmpty() ? file.path : root.relativeFilePath(file.path));
        item->setText(0, name);
        item->setToolTip(0, QDir::toNativeSeparators(file.path));
        item->setText(1, file.failure.isEmpty() ? (changed == 1 ? QStringLiteral("1 line changes") : QStringLiteral("%1 lines change").arg(changed))
                                                : QStringLiteral("Cannot be written as it is laid out: ") + file.failure);
        item->setFirstColumnSpanned(false);
        for (const SavePreview::Line &line : file.lines) {
            auto *child = new QTreeWidgetItem(item);
            child->setText(0, (line.added ? QStringLiteral("+ ") : QStringLiteral("- ")) + QString::number(line.number));
            child->setText(1, line.text);
            child->setForeground(1, palette().color(line.added ? QPalette::Text : QPalette::PlaceholderText));
        }
        item->setExpanded(files.size() <= 20);
    }
    m_summary->setText(files.size() == 1 ? QStringLiteral("Save All writes 1 file, %1 changed lines:").arg(lines)
                                         : QStringLiteral("Save All writes %1 files, %2 changed lines:").arg(files.size()).arg(lines));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Save)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_dontAsk);
    layout->addWidget(buttons);
    resize(720, 420);
}
