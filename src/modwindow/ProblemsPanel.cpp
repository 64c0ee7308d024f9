#include "modwindow/ProblemsPanel.h"

#include "mod/ModProblem.h"
#include "mod/ModProblemList.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QString keyOf(const QModelIndex &index)
{
    if (!index.isValid())
        return {};
    const QModelIndex row = index.siblingAtColumn(ModProblemList::MessageColumn);
    return row.data(ModProblemList::PathRole).toString() + QLatin1Char('\n') + row.data(ModProblemList::KindRole).toString()
           + QLatin1Char('\n') + row.data().toString();
}

// The severity column tells errors from warnings and notes at a glance, by the platform's icons.
class SeverityModel final : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::DecorationRole && index.column() == ModProblemList::SeverityColumn) {
            const auto severity = ModProblem::Severity(QSortFilterProxyModel::data(index, ModProblemList::SeverityRole).toInt());
            const QStyle::StandardPixmap icon = severity == ModProblem::Severity::Error     ? QStyle::SP_MessageBoxCritical
                                                : severity == ModProblem::Severity::Warning ? QStyle::SP_MessageBoxWarning
                                                                                            : QStyle::SP_MessageBoxInformation;
            return m_style ? m_style->standardIcon(icon) : QVariant();
        }
        return QSortFilterProxyModel::data(index, role);
    }
    void setStyle(QStyle *style) { m_style = style; }

protected:
    // Lines sort as numbers; the severity from errors to notes.
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override
    {
        if (left.column() == ModProblemList::LineColumn)
            return left.data(ModProblemList::LineRole).toInt() < right.data(ModProblemList::LineRole).toInt();
        if (left.column() == ModProblemList::SeverityColumn)
            return left.data(ModProblemList::SeverityRole).toInt() < right.data(ModProblemList::SeverityRole).toInt();
        return QSortFilterProxyModel::lessThan(left, right);
    }

private:
    QStyle *m_style = nullptr;
};
}

ProblemsPanel::ProblemsPanel(ModProblemList *problems, QWidget *parent)
    : QWidget(parent)
    , m_problems(problems)
    , m_view(new QTableView)
    , m_summary(new QLabel)
    , m_kinds(new QToolButton)
    , m_kindsMenu(new QMenu(this))
{
    setObjectName(QStringLiteral("fraProblems"));
    auto *sorted = new SeverityModel(this);
    sorted->setStyle(style());
    m_sorted = sorted;
    m_sorted->setSourceModel(problems);
    m_sorted->setSortCaseSensitivity(Qt::CaseInsensitive);

    m_summary->setObjectName(QStringLiteral("lblProblems"));
    m_kinds->setObjectName(QStringLiteral("cmdKinds"));
    m_kinds->setText(QStringLiteral("&Kinds"));
    m_kinds->setToolTip(QStringLiteral("Hide or show kinds of problem"));
    m_kinds->setPopupMode(QToolButton::InstantPopup);
    m_kinds->setMenu(m_kindsMenu);
    m_view->setObjectName(QStringLiteral("tblProblems"));
    m_view->setModel(m_sorted);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    // A path keeps its file's name in view when the column is narrow.
    m_view->setTextElideMode(Qt::ElideMiddle);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(-1, Qt::AscendingOrder);
    QHeaderView *header = m_view->horizontalHeader();
    header->setHighlightSections(false);
    header->setStretchLastSection(true);
    const QFontMetrics metrics(m_view->font());
    header->resizeSection(ModProblemList::SeverityColumn, metrics.horizontalAdvance(QStringLiteral("warning")) + 40);
    header->resizeSection(ModProblemList::FileColumn, metrics.horizontalAdvance(QStringLiteral("units/armcom_long.fbi")) + 16);
    header->resizeSection(ModProblemList::LineColumn, metrics.horizontalAdvance(QStringLiteral("Line 00")) + 8);
    header->resizeSection(ModProblemList::KindColumn, metrics.horizontalAdvance(QStringLiteral("missing-movement-class")) + 16);

    auto *top = new QHBoxLayout;
    top->addWidget(m_summary, 1);
    top->addWidget(m_kinds);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);

    connect(m_view, &QAbstractItemView::activated, this, &ProblemsPanel::open);
    connect(m_kindsMenu, &QMenu::aboutToShow, this, &ProblemsPanel::fillKinds);
    connect(m_problems, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_currentKey = keyOf(m_view->currentIndex()); });
    connect(m_problems, &QAbstractItemModel::modelReset, this, [this] {
        updateSummary();
        if (m_currentKey.isEmpty())
            return;
        for (int row = 0; row < m_sorted->rowCount(); ++row) {
            const QModelIndex index = m_sorted->index(row, ModProblemList::SeverityColumn);
            if (keyOf(index) == m_currentKey) {
                m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                m_view->scrollTo(index);
                return;
            }
        }
    });
    updateSummary();
}

QMenu *ProblemsPanel::kindsMenu()
{
    fillKinds();
    return m_kindsMenu;
}

void ProblemsPanel::open(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QModelIndex row = m_sorted->mapToSource(index);
    emit problemOpened(row.data(ModProblemList::PathRole).toString(), row.data(ModProblemList::LineRole).toInt());
}

// Every kind the check knows, with how many it found; those it found first.
void ProblemsPanel::fillKinds()
{
    m_kindsMenu->clear();
    QList<ModProblemKind> kinds = modProblemKinds();
    std::stable_sort(kinds.begin(), kinds.end(), [this](const ModProblemKind &left, const ModProblemKind &right) {
        return (m_problems->count(left.name) > 0) > (m_problems->count(right.name) > 0);
    });
    QAction *all = m_kindsMenu->addAction(QStringLiteral("&Show All Kinds"));
    connect(all, &QAction::triggered, this, [this] {
        for (const ModProblemKind &kind : modProblemKinds())
            m_problems->setKindHidden(kind.name, false);
    });
    m_kindsMenu->addSeparator();
    for (const ModProblemKind &kind : std::as_const(kinds)) {
        QAction *action = m_kindsMenu->addAction(QStringLiteral("%1 (%2)").arg(kind.name).arg(m_problems->count(kind.name)));
        action->setCheckable(true);
        action->setChecked(!m_problems->isKindHidden(kind.name));
        action->setToolTip(kind.description);
        action->setData(kind.name);
        connect(action, &QAction::toggled, this, [this, name = kind.name](bool shown) { m_problems->setKindHidden(name, !shown); });
    }
    m_kindsMenu->setToolTipsVisible(true);
}

void ProblemsPanel::updateSummary()
{
    const int all = int(m_problems->allProblems().size());
    const int shown = m_problems->rowCount();
    int errors = 0;
    int warnings = 0;
    for (const ModProblem &problem : m_problems->allProblems()) {
        errors += problem.severity == ModProblem::Severity::Error ? 1 : 0;
        warnings += problem.severity == ModProblem::Severity::Warning ? 1 : 0;
    }
    QString text = all == 0 ? QStringLiteral("Problems: none found")
                            : QStringLiteral("Problems: %1 (%2 errors, %3 warnings, %4 notes)").arg(all).arg(errors).arg(warnings).arg(all - errors - warnings);
    if (shown < all)
        text += QStringLiteral(", %1 of them hidden by kind").arg(all - shown);
    m_summary->setText(text);
}
