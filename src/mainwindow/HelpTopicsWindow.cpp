#include "mainwindow/HelpTopicsWindow.h"

#include "help/VariableHelp.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QVBoxLayout>

HelpTopicsWindow::HelpTopicsWindow(QWidget *owner)
    : QWidget(owner, Qt::Window)
    , m_txtFilter(new QLineEdit)
    , m_lstTopics(new QListWidget)
    , m_lblTopic(new QLabel)
{
    setObjectName(QStringLiteral("frmHelpTopics"));
    setWindowTitle(QStringLiteral("Help Topics"));
    m_txtFilter->setObjectName(QStringLiteral("txtFilter"));
    m_txtFilter->setPlaceholderText(QStringLiteral("Type to filter the variables"));
    m_txtFilter->setClearButtonEnabled(true);
    m_lstTopics->setObjectName(QStringLiteral("lstTopics"));
    m_lstTopics->addItems(Help::keysWithHelp());
    m_lblTopic->setObjectName(QStringLiteral("lblTopic"));
    m_lblTopic->setWordWrap(true);
    m_lblTopic->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblTopic->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblTopic->setMargin(8);

    auto *scroller = new QScrollArea;
    scroller->setWidgetResizable(true);
    scroller->setWidget(m_lblTopic);

    auto *left = new QVBoxLayout;
    left->addWidget(m_txtFilter);
    left->addWidget(m_lstTopics);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(scroller, 2);

    connect(m_txtFilter, &QLineEdit::textChanged, this, &HelpTopicsWindow::filter);
    connect(m_lstTopics, &QListWidget::currentItemChanged, this, &HelpTopicsWindow::showTopic);
    connect(m_lstTopics, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { emit addRequested(item->text()); });
    // Enter in the filter box adds the variable found, so the keyboard alone adds one.
    connect(m_txtFilter, &QLineEdit::returnPressed, this, [this] {
        if (QListWidgetItem *item = m_lstTopics->currentItem(); item && !item->isHidden())
            emit addRequested(item->text());
    });
    m_lstTopics->setCurrentRow(0);
    resize(640, 420);
}

void HelpTopicsWindow::filter(const QString &text)
{
    QListWidgetItem *firstShown = nullptr;
    for (int row = 0; row < m_lstTopics->count(); ++row) {
        QListWidgetItem *item = m_lstTopics->item(row);
        const bool shown = item->text().contains(text, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !firstShown)
            firstShown = item;
    }
    if (QListWidgetItem *current = m_lstTopics->currentItem(); !current || current->isHidden())
        m_lstTopics->setCurrentItem(firstShown);
    if (!firstShown)
        m_lblTopic->clear();
}

void HelpTopicsWindow::showTopic()
{
    const QListWidgetItem *item = m_lstTopics->currentItem();
    if (!item) {
        m_lblTopic->clear();
        return;
    }
    const QString name = item->text();
    m_lblTopic->setText(QStringLiteral("<b>%1</b><p>%2</p><p><i>%3</i></p>")
                            .arg(name.toHtmlEscaped(), Help::variableHelpText(name).toHtmlEscaped().replace(QStringLiteral("\r\n"), QStringLiteral("<br>")),
                                 Help::valueTypeText(Help::valueType(name)).toHtmlEscaped()));
}
