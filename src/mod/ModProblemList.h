#pragma once

#include "mod/ModProblem.h"

#include <QAbstractTableModel>
#include <QList>
#include <QSet>

// A mod's problems as a table for a panel to show: severity, file, line, kind and message, the kinds
// the user hid left out. The rows follow the check as it runs again after edits.
class ModProblemList : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { SeverityColumn, FileColumn, LineColumn, KindColumn, MessageColumn, ColumnCount };
    enum Role {
        PathRole = Qt::UserRole + 1,    // the file as found, to open
        LineRole,                       // its line, counted from 1; 0 for the whole file
        KindRole,
        SeverityRole,                   // ModProblem::Severity as an int
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setProblems(const QList<ModProblem> &problems);
    // Every problem found, hidden kinds included.
    const QList<ModProblem> &allProblems() const { return m_all; }
    // The problems shown, in order.
    const ModProblem &problem(int row) const { return m_shown.at(row); }

    void setKindHidden(const QString &kind, bool hidden);
    bool isKindHidden(const QString &kind) const { return m_hidden.contains(kind); }
    // How many problems of the kind the check found, hidden or not.
    int count(const QString &kind) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void refill();

    QList<ModProblem> m_all;
    QList<ModProblem> m_shown;
    QSet<QString> m_hidden;
};
