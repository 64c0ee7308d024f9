#pragma once

#include <QWidget>

class ModProblemList;
class QLabel;
class QMenu;
class QSortFilterProxyModel;
class QTableView;
class QToolButton;

// The problems of a mod's check as a list under its table: severity, file, line, kind and message,
// sortable by any of them. The Kinds button hides and shows kinds of problem; Enter or a double
// click asks for the file at the problem's line. The list follows the check as it runs again after
// edits and saves, keeping the problem the keyboard was on where it is still found.
class ProblemsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit ProblemsPanel(ModProblemList *problems, QWidget *parent = nullptr);

    QTableView *view() const { return m_view; }
    QToolButton *kindsButton() const { return m_kinds; }
    QLabel *summary() const { return m_summary; }
    // The menu of kinds, filled from the problems as they are now.
    QMenu *kindsMenu();

signals:
    // A file of the mod at a line, counted from 1 (0 for the file as a whole).
    void problemOpened(const QString &path, int line);

private:
    void open(const QModelIndex &index);
    void fillKinds();
    void updateSummary();

    ModProblemList *m_problems;
    QSortFilterProxyModel *m_sorted;
    QTableView *m_view;
    QLabel *m_summary;
    QToolButton *m_kinds;
    QMenu *m_kindsMenu;
    // The problem the keyboard was on, found again after the check runs again.
    QString m_currentKey;
};
