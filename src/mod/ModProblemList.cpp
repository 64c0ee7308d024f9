#include "mod/ModProblemList.h"

#include <algorithm>

void ModProblemList::setProblems(const QList<ModProblem> &problems)
{
    m_all = problems;
    refill();
}

void ModProblemList::setKindHidden(const QString &kind, bool hidden)
{
    if (isKindHidden(kind) == hidden)
        return;
    if (hidden)
        m_hidden.insert(kind);
    else
        m_hidden.remove(kind);
    refill();
}

void ModProblemList::refill()
{
    beginResetModel();
    m_shown.clear();
    for (const ModProblem &problem : std::as_const(m_all)) {
        if (!m_hidden.contains(problem.kind))
            m_shown.append(problem);
    }
    endResetModel();
}

int ModProblemList::count(const QString &kind) const
{
    return int(std::count_if(m_all.begin(), m_all.end(), [&](const ModProblem &problem) { return problem.kind == kind; }));
}

int ModProblemList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int ModProblemList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ModProblemList::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const ModProblem &problem = m_shown.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case SeverityColumn:
            return severityName(problem.severity);
        case FileColumn:
            return problem.relativePath;
        case LineColumn:
            return problem.line > 0 ? QVariant(problem.line) : QVariant();
        case KindColumn:
            return problem.kind;
        case MessageColumn:
            return problem.message;
        }
        return {};
    case Qt::ToolTipRole:
        return index.column() == FileColumn ? problem.path : problem.message;
    case PathRole:
        return problem.path;
    case LineRole:
        return problem.line;
    case KindRole:
        return problem.kind;
    case SeverityRole:
        return int(problem.severity);
    default:
        return {};
    }
}

QVariant ModProblemList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case SeverityColumn:
        return QStringLiteral("Severity");
    case FileColumn:
        return QStringLiteral("File");
    case LineColumn:
        return QStringLiteral("Line");
    case KindColumn:
        return QStringLiteral("Kind");
    case MessageColumn:
        return QStringLiteral("Message");
    }
    return {};
}
