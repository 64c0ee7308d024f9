#include "modwindow/CompareDialog.h"

#include "mod/ModTable.h"
#include "mod/RowComparison.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QString NotSet = QStringLiteral("(not set)");
}

CompareDialog::CompareDialog(const ModTable *table, const QList<int> &rows, QWidget *parent)
    : QDialog(parent)
    , m_table(table)
    , m_rows(rows)
    , m_grid(new QTableWidget)
    , m_differencesOnly(new QCheckBox(QStringLiteral("Show only the keys that &differ")))
    , m_source(new QComboBox)
    , m_copy(new QPushButton(QStringLiteral("Copy the &Ticked Keys to the Others")))
    , m_summary(new QLabel)
{
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(QStringLiteral("Compare %1 Rows").arg(rows.size()));
    m_grid->setObjectName(QStringLiteral("grdCompare"));
    m_source->setObjectName(QStringLiteral("cboSource"));
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    for (int row : rows)
        m_source->addItem(table->unitName(row), row);
    auto *sourceLabel = new QLabel(QStringLiteral("Copy &from:"));
    sourceLabel->setBuddy(m_source);

    auto *copyRow = new QHBoxLayout;
    copyRow->addWidget(sourceLabel);
    copyRow->addWidget(m_source);
    copyRow->addWidget(m_copy);
    copyRow->addStretch();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_differencesOnly);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_summary);
    layout->addLayout(copyRow);
    layout->addWidget(buttons);
    resize(std::min(900, 260 + 160 * int(rows.size())), 520);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_differencesOnly, &QCheckBox::toggled, this, &CompareDialog::refresh);
    connect(m_copy, &QPushButton::clicked, this, &CompareDialog::copyTicked);
    connect(m_grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (item->column() != 0)
            return;
        m_ticked.removeAll(item->text());
        if (item->checkState() == Qt::Checked)
            m_ticked.append(item->text());
        m_copy->setEnabled(!m_ticked.isEmpty());
    });
    // The grid shows the rows as they are, after a copy or an edit elsewhere.
    connect(table, &QAbstractItemModel::dataChanged, this, &CompareDialog::refresh);
    connect(table, &QAbstractItemModel::columnsInserted, this, &CompareDialog::refresh);
    connect(table, &QAbstractItemModel::modelReset, this, &QDialog::reject);
    refresh();
}

void CompareDialog::refresh()
{
    const RowComparison comparison = RowComparison::of(*m_table, m_rows);
    const QSignalBlocker blocker(m_grid);
    m_grid->clear();
    QStringList headers{QStringLiteral("Key")};
    for (int row : std::as_const(comparison.rows))
        headers.append(m_table->unitName(row));
    m_grid->setColumnCount(int(headers.size()));
    m_grid->setHorizontalHeaderLabels(headers);
    for (int column = 1; column < headers.size(); ++column)
        m_grid->horizontalHeaderItem(column)->setToolTip(m_table->relativePath(comparison.rows[column - 1]));
    int differing = 0;
    QList<const RowComparison::Line *> shown;
    for (const RowComparison::Line &line : comparison.lines) {
        differing += line.differs ? 1 : 0;
        if (line.differs || !m_differencesOnly->isChecked())
            shown.append(&line);
    }
    m_grid->setRowCount(int(shown.size()));
    // A line that differs stands out in the selection's colour, lightened.
    QColor marked = palette().color(QPalette::Highlight);
    marked.setAlpha(60);
    for (int index = 0; index < shown.size(); ++index) {
        const RowComparison::Line &line = *shown[index];
        auto *key = new QTableWidgetItem(line.key);
        key->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        key->setCheckState(m_ticked.contains(line.key, Qt::CaseInsensitive) ? Qt::Checked : Qt::Unchecked);
        if (line.differs) {
            QFont bold = key->font();
            bold.setBold(true);
            key->setFont(bold);
        }
        m_grid->setItem(index, 0, key);
        for (int column = 0; column < line.values.size(); ++column) {
            const QString &value = line.values[column];
            auto *cell = new QTableWidgetItem(value.isNull() ? NotSet : value);
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (value.isNull()) {
                QFont italic = cell->font();
                italic.setItalic(true);
                cell->setFont(italic);
                cell->setForeground(palette().color(QPalette::PlaceholderText));
            }
            if (line.differs)
                cell->setBackground(marked);
            m_grid->setItem(index, column + 1, cell);
        }
        if (line.differs)
            key->setBackground(marked);
    }
    m_grid->resizeColumnsToContents();
    for (int column = 0; column < m_grid->columnCount(); ++column)
        m_grid->setColumnWidth(column, std::min(m_grid->columnWidth(column), 260));
    m_summary->setText(QStringLiteral("%1 keys, %2 of them differ").arg(comparison.lines.size()).arg(differing));
    m_copy->setEnabled(!m_ticked.isEmpty());
}

void CompareDialog::setKeyTicked(const QString &key, bool ticked)
{
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        if (m_grid->item(row, 0)->text().compare(key, Qt::CaseInsensitive) == 0)
            m_grid->item(row, 0)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

void CompareDialog::copyTicked()
{
    const int source = m_source->currentData().toInt();
    const QList<TableChange> changes = RowComparison::copyChanges(*m_table, source, m_rows, m_ticked);
    if (changes.isEmpty()) {
        m_summary->setText(QStringLiteral("The other rows hold %1's values of the ticked keys already.").arg(m_table->unitName(source)));
        return;
    }
    emit applyRequested(changes);
}
