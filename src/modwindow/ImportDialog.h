#pragma once

#include "mod/TableImport.h"

#include <QDialog>

class ChangeList;
class QLabel;
class QListWidget;
class QPushButton;

// Import Table's preview: the cells of the mod that the imported table changes, each with a box,
// those that cannot be changed greyed with the reason, and the files and columns of the imported
// table that the mod's table does not know, left alone. The ticked changes make one step.
class ImportDialog : public QDialog
{
    Q_OBJECT

public:
    ImportDialog(const TableImport::Result &result, const QString &file, QWidget *parent = nullptr);

    ChangeList *changeList() const { return m_list; }
    QListWidget *leftOut() const { return m_leftOut; }
    QLabel *summary() const { return m_summary; }
    QPushButton *cmdApply() const { return m_apply; }

signals:
    void applyRequested(const QList<TableChange> &changes);

private:
    ChangeList *m_list;
    QListWidget *m_leftOut;
    QLabel *m_summary;
    QPushButton *m_apply;
};
