#pragma once

#include "mod/TableChange.h"

#include <QDialog>

class ChangeList;
class ModTable;
class QLabel;
class QLineEdit;
class QPushButton;

// Add Key and Remove Key on the selected rows of a table: the key (with its value, to add), and a
// preview that follows the typing: the rows it changes, and those it leaves as they are with the
// reason (a row that sets the key already, or does not set it). The ticked changes make one step.
class KeyChangeDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Mode { Add, Remove };

    KeyChangeDialog(Mode mode, const ModTable *table, const QList<int> &rows, QWidget *parent = nullptr);

    QLineEdit *txtKey() const { return m_key; }
    QLineEdit *txtValue() const { return m_value; }
    ChangeList *changeList() const { return m_list; }
    QLabel *summary() const { return m_summary; }
    QPushButton *cmdApply() const { return m_apply; }

signals:
    void applyRequested(const QList<TableChange> &changes);

private:
    void preview();

    Mode m_mode;
    const ModTable *m_table;
    QList<int> m_rows;
    QLineEdit *m_key;
    QLineEdit *m_value;
    ChangeList *m_list;
    QLabel *m_summary;
    QPushButton *m_apply;
};
