#include "modwindow/ColumnChooser.h"

#include "mod/ModTable.h"
#include "mod/ModTableSortFilter.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ColumnChooser::ColumnChooser(ModTableSortFilter *table, QWidget *parent)
    : QFrame(parent, Qt::Popup)
    , m_table(table)
    , m_search(new QLineEdit)
    , m_list(new QListWidget)
{
    setObjectName(QStringLiteral("frmColumns"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_search->setObjectName(QStringLiteral("txtColumnSearch"));
    m_search->setPlaceholderText(QStringLiteral("Search columns"));
    m_search->setClearButtonEnabled(true);
    m_list->setObjectName(QStringLiteral("lstColumns"));
    m_list->setUniformItemSizes(true);
    auto *showAll = new QPushButton(QStringLiteral("&Show All"));
    auto *hideAll = new QPushButton(QStringLiteral("&Hide All"));
    showAll->setAutoDefault(false);
    hideAll->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(showAll);
    buttons->addWidget(hideAll);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(260, 360);

    connect(m_search, &QLineEdit::textChanged, this, &ColumnChooser::narrow);
    // Enter in the search box goes into the list, where Space ticks and unticks.
    connect(m_search, &QLineEdit::returnPressed, m_list, qOverload<>(&QWidget::setFocus));
    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        m_table->setColumnShown(item->data(Qt::UserRole).toInt(), item->checkState() == Qt::Checked);
    });
    connect(showAll, &QPushButton::clicked, this, [this] { setListedShown(true); });
    connect(hideAll, &QPushButton::clicked, this, [this] { setListedShown(false); });
}

void ColumnChooser::refresh()
{
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    const ModTable *table = m_table->table();
    for (int column = 1; column < table->columnCount(); ++column) {
        auto *item = new QListWidgetItem(table->headerData(column, Qt::Horizontal).toString(), m_list);
        item->setData(Qt::UserRole, column);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(m_table->isColumnShown(column) ? Qt::Checked : Qt::Unchecked);
    }
    narrow(m_search->text());
}

void ColumnChooser::popup(const QPoint &at)
{
    refresh();
    move(at);
    show();
    m_search->setFocus();
    m_search->selectAll();
}

void ColumnChooser::narrow(const QString &text)
{
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem *item = m_list->item(row);
        item->setHidden(!item->text().contains(text, Qt::CaseInsensitive));
    }
}

void ColumnChooser::setListedShown(bool shown)
{
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem *item = m_list->item(row);
        if (!item->isHidden())
            item->setCheckState(shown ? Qt::Checked : Qt::Unchecked);
    }
}
