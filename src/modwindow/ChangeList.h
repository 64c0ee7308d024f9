#pragma once

#include "mod/TableChange.h"

#include <QTreeWidget>

#include <functional>

class QDialog;
class QPushButton;

// The changes a table tool would make, one a line with a box each: the row, its file and line, the key,
// the value now and after. A change that cannot be made stands greyed with the reason, and has no
// box. Space ticks the lines selected.
class ChangeList : public QTreeWidget
{
    Q_OBJECT

public:
    enum Column { RowColumn, FileColumn, LineColumn, KeyColumn, NowColumn, AfterColumn, ColumnCount };

    explicit ChangeList(QWidget *parent = nullptr);

    void setChanges(const QList<TableChange> &changes);
    const QList<TableChange> &changes() const { return m_changes; }
    // The changes that can be made and are ticked.
    QList<TableChange> checkedChanges() const;
    int checkedCount() const;
    int refusedCount() const;
    // Ticks or clears every change that can be made.
    void setAllChecked(bool checked);
    // "12 changes in 5 files, 1 refused" and the like.
    QString summary() const;
    // The dialog's button that makes the changes: it hands the ticked ones on and closes the dialog;
    // with none ticked it does nothing.
    void makeOnClick(QPushButton *button, QDialog *dialog, std::function<void(const QList<TableChange> &)> make) const;

signals:
    void checkedChanged();

private:
    QList<TableChange> m_changes;
};
