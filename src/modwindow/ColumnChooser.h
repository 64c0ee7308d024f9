#pragma once

#include <QFrame>

class ModTableSortFilter;
class QLineEdit;
class QListWidget;

// The columns of a mod's table as a list to tick, with a box that narrows the list to the names
// holding its text. Shown as a popup under the button that asked for it.
class ColumnChooser : public QFrame
{
    Q_OBJECT

public:
    explicit ColumnChooser(ModTableSortFilter *table, QWidget *parent = nullptr);

    QLineEdit *searchBox() const { return m_search; }
    QListWidget *list() const { return m_list; }

    // Fills the list from the table as it is now.
    void refresh();
    void popup(const QPoint &at);

private:
    void narrow(const QString &text);
    // Shows or hides every column that the search leaves in the list.
    void setListedShown(bool shown);

    ModTableSortFilter *m_table;
    QLineEdit *m_search;
    QListWidget *m_list;
};
