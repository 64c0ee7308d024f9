#include "modwindow/ChangeList.h"

#include "documents/Document.h"
#include "documents/FbiContent.h"
#include "mod/ModTable.h"

#include <QDialog>
#include <QHash>
#include <QHeaderView>
#include <QPushButton>
#include <QSet>

namespace {
constexpr int ChangeRole = Qt::UserRole;

QString afterText(const TableChange &change)
{
    if (!change.canApply())
        return QStringLiteral("Not changed: ") + change.refused;
    switch (change.action) {
    case TableChange::Action::Remove:
        return QStringLiteral("(removed)");
    case TableChange::Action::Add:
        return change.newValue + QStringLiteral("  (added)");
    case TableChange::Action::Set:
        break;
    }
    return change.newValue;
}
}

ChangeList::ChangeList(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("lstChanges"));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHeaderLabels({QStringLiteral("Row"), QStringLiteral("File"), QStringLiteral("Line"), QStringLiteral("Key"), QStringLiteral("Now"),
                     QStringLiteral("After")});
    header()->setStretchLastSection(true);
    const QFontMetrics metrics(font());
    setColumnWidth(RowColumn, metrics.horizontalAdvance(QStringLiteral("ARMCOM_LONGNAME")) + 40);
    setColumnWidth(FileColumn, metrics.horizontalAdvance(QStringLiteral("units/armcom_long.fbi")));
    setColumnWidth(LineColumn, metrics.horizontalAdvance(QStringLiteral("Line 000")));
    setColumnWidth(KeyColumn, metrics.horizontalAdvance(QStringLiteral("customparams.notes")));
    setColumnWidth(NowColumn, metrics.horizontalAdvance(QStringLiteral("a value of some length")));
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *, int column) {
        if (column == RowColumn)
            emit checkedChanged();
    });
}

void ChangeList::setChanges(const QList<TableChange> &changes)
{
    blockSignals(true);
    clear();
    m_changes = changes;
    QList<QTreeWidgetItem *> items;
    items.reserve(changes.size());
    // The line each changed row stands on, found in one pass over each file.
    QHash<const Document *, QList<qsizetype>> lines;
    for (qsizetype index = 0; index < changes.size(); ++index) {
        const TableChange &change = changes[index];
        auto *item = new QTreeWidgetItem;
        item->setText(RowColumn, change.table ? change.table->unitName(change.row) : QString());
        item->setText(FileColumn, change.table ? change.table->relativePath(change.row) : QString());
        if (change.document && !change.documentRows.isEmpty()) {
            auto found = lines.find(change.document.data());
            if (found == lines.end())
                found = lines.insert(change.document.data(), change.document->content().lineNumbers());
            if (const qsizetype line = found->value(change.documentRows.constLast()); line > 0)
                item->setText(LineColumn, QString::number(line));
        }
        item->setText(KeyColumn, change.key);
        item->setText(NowColumn, change.action == TableChange::Action::Add && change.canApply() ? QStringLiteral("(not set)") : change.oldValue);
        item->setText(AfterColumn, afterText(change));
        item->setToolTip(AfterColumn, item->text(AfterColumn));
        item->setData(RowColumn, ChangeRole, int(index));
        if (change.canApply()) {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(RowColumn, Qt::Checked);
        } else {
            item->setFlags(Qt::ItemIsSelectable);
        }
        items.append(item);
    }
    addTopLevelItems(items);
    if (!items.isEmpty())
        setCurrentItem(items.first());
    blockSignals(false);
    emit checkedChanged();
}

QList<TableChange> ChangeList::checkedChanges() const
{
    QList<TableChange> checked;
    for (int index = 0; index < topLevelItemCount(); ++index) {
        const QTreeWidgetItem *item = topLevelItem(index);
        const TableChange &change = m_changes[item->data(RowColumn, ChangeRole).toInt()];
        if (change.canApply() && item->checkState(RowColumn) == Qt::Checked)
            checked.append(change);
    }
    return checked;
}

int ChangeList::checkedCount() const
{
    return int(checkedChanges().size());
}

int ChangeList::refusedCount() const
{
    return int(std::count_if(m_changes.cbegin(), m_changes.cend(), [](const TableChange &change) { return !change.canApply(); }));
}

void ChangeList::setAllChecked(bool checked)
{
    {
        const QSignalBlocker blocker(this);
        for (int index = 0; index < topLevelItemCount(); ++index) {
            QTreeWidgetItem *item = topLevelItem(index);
            if (item->flags() & Qt::ItemIsUserCheckable)
                item->setCheckState(RowColumn, checked ? Qt::Checked : Qt::Unchecked);
        }
    }
    emit checkedChanged();
}

QString ChangeList::summary() const
{
    const QList<TableChange> checked = checkedChanges();
    QSet<const Document *> files;
    for (const TableChange &change : checked)
        files.insert(change.document.data());
    const int possible = int(m_changes.size()) - refusedCount();
    QString text = possible == 0 ? QStringLiteral("No changes")
                                 : QStringLiteral("%1 of %2 changes ticked, in %3 files").arg(checked.size()).arg(possible).arg(files.size());
    if (refusedCount() > 0)
        text += QStringLiteral("; %1 cannot be made (greyed, with the reason)").arg(refusedCount());
    return text;
}

void ChangeList::makeOnClick(QPushButton *button, QDialog *dialog,
                             std::function<void(const QList<TableChange> &)> make) const
{
    connect(button, &QPushButton::clicked, dialog, [this, dialog, make = std::move(make)] {
        const QList<TableChange> changes = checkedChanges();
        if (changes.isEmpty())
            return;
        make(changes);
        dialog->accept();
    });
}
