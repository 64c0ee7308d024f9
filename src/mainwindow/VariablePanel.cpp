#include "mainwindow/VariablePanel.h"

#include "platform/Twips.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>

namespace {
constexpr int PanelWidth = 2805;
constexpr int ScrollerWidth = 2775;
const QRect HelpFrame = Twips::rect(120, 4560, 2655, 2295);
const QRect HelpLabel = Twips::rect(120, 240, 2415, 1935);

// One etched line between adding and the commands that act on the selected row.
QWidget *makeDivider(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(Twips::rect(120, 3120, 2400, 30));
    return line;
}
}

VariablePanel::VariablePanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picTools"));
    setFixedWidth(Twips::toPixels(PanelWidth));

    m_scrTools = new QScrollArea(this);
    m_scrTools->setObjectName(QStringLiteral("scrTools"));
    m_scrTools->setFrameShape(QFrame::NoFrame);
    m_scrTools->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrTools->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scrTools->setWidgetResizable(true);
    // Its controls take the keyboard, not the scroller around them.
    m_scrTools->setFocusPolicy(Qt::NoFocus);
    m_scrTools->setGeometry(0, 0, Twips::toPixels(ScrollerWidth), height());

    m_content = new QWidget;
    m_content->setMinimumHeight(HelpFrame.bottom() + 1);
    m_content->installEventFilter(this);
    m_scrTools->setWidget(m_content);

    m_frmAddRemove = new QGroupBox(QStringLiteral("Add/Remove Variables"), m_content);
    m_frmAddRemove->setObjectName(QStringLiteral("frmAddRemove"));
    m_frmAddRemove->setGeometry(Twips::rect(120, 0, 2655, 4455));

    m_lstAdd = new QListWidget(m_frmAddRemove);
    m_lstAdd->setObjectName(QStringLiteral("lstAdd"));
    m_lstAdd->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstAdd->setUniformItemSizes(true);
    m_lstAdd->setGeometry(Twips::rect(120, 360, 2415, 2010));

    auto makeButton = [this](const char *name, const QString &text, const QString &tip, int top) {
        auto *button = new QPushButton(text, m_frmAddRemove);
        button->setObjectName(QLatin1String(name));
        button->setToolTip(tip);
        button->setGeometry(Twips::rect(120, top, 2415, 375));
        return button;
    };
    m_cmdAdd = makeButton("cmdAdd", QStringLiteral("Add Variable"),
                          QStringLiteral("Adds the selected variable to the list above"), 2640);
    makeDivider(m_frmAddRemove);
    m_cmdRemove = makeButton("cmdRemove", QStringLiteral("Remove Variable"),
                             QStringLiteral("Remove selected variable from the list"), 3240);
    m_cmdChange = makeButton("cmdChange", QStringLiteral("Change Value"),
                             QStringLiteral("Change the value of the variable selected"), 3840);

    m_helpFrame = new QGroupBox(QStringLiteral("Variable Help"), m_content);
    m_helpFrame->setObjectName(QStringLiteral("Frame3"));
    m_helpFrame->setGeometry(HelpFrame);

    m_lblHelp = new QLabel(QStringLiteral("Nothing Selected."), m_helpFrame);
    m_lblHelp->setObjectName(QStringLiteral("lblHelp"));
    m_lblHelp->setWordWrap(true);
    m_lblHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblHelp->setGeometry(HelpLabel);

    connect(m_lstAdd, &QListWidget::itemSelectionChanged, this, [this] {
        if (QListWidgetItem *item = m_lstAdd->currentItem(); item && item->isSelected())
            emit helpRequested(item->text());
    });
    connect(m_lstAdd, &QListWidget::itemDoubleClicked, this, &VariablePanel::requestAdd);
    connect(m_cmdAdd, &QPushButton::clicked, this, &VariablePanel::requestAdd);
    connect(m_cmdRemove, &QPushButton::clicked, this, &VariablePanel::removeRequested);
    connect(m_cmdChange, &QPushButton::clicked, this, &VariablePanel::changeRequested);
}

// The frames keep their places; only their width follows the room the scroll bar leaves.
bool VariablePanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_content && event->type() == QEvent::Resize) {
        const int width = std::max(0, m_content->width() - m_frmAddRemove->x());
        m_frmAddRemove->resize(width, m_frmAddRemove->height());
        m_helpFrame->resize(width, m_helpFrame->height());
        // The help wraps within its frame, whatever room the scroll bar leaves.
        m_lblHelp->resize(std::max(0, width - 2 * HelpLabel.left()), m_lblHelp->height());
        showHelp(m_lblHelp->text());
    }
    return QWidget::eventFilter(watched, event);
}

void VariablePanel::setScrollerHeight(int height)
{
    m_scrollerHeight = height;
    m_scrTools->resize(m_scrTools->width(), std::min(m_scrollerHeight, this->height()));
}

// Whatever this platform's window frame measures, the scroller never reaches below the panel.
void VariablePanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    setScrollerHeight(m_scrollerHeight);
}

void VariablePanel::showHelp(const QString &text)
{
    m_lblHelp->setText(text);
    m_lblHelp->setToolTip(text);
    // A long help grows the label and its frame downwards, and the panel scrolls to it.
    const int labelHeight = std::max(HelpLabel.height(), m_lblHelp->heightForWidth(m_lblHelp->width()));
    m_lblHelp->resize(m_lblHelp->width(), labelHeight);
    m_helpFrame->resize(m_helpFrame->width(), HelpFrame.height() - HelpLabel.height() + labelHeight);
    m_content->setMinimumHeight(m_helpFrame->geometry().bottom() + 1);
}

QString VariablePanel::helpText() const
{
    return m_lblHelp->text();
}

void VariablePanel::setCommandsEnabled(bool enabled)
{
    m_cmdAdd->setEnabled(enabled);
    m_cmdRemove->setEnabled(enabled);
    m_cmdChange->setEnabled(enabled);
}

QList<QWidget *> VariablePanel::focusStops() const
{
    QList<QWidget *> stops;
    for (QWidget *control : std::initializer_list<QWidget *>{m_lstAdd, m_cmdAdd, m_cmdRemove, m_cmdChange}) {
        if (control->isEnabled() && control->isVisibleTo(this))
            stops.append(control);
    }
    return stops;
}

bool VariablePanel::takeFocus(bool atStart)
{
    const QList<QWidget *> stops = focusStops();
    if (stops.isEmpty())
        return false;
    (atStart ? stops.constFirst() : stops.constLast())->setFocus(atStart ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void VariablePanel::requestAdd()
{
    if (QListWidgetItem *known = m_lstAdd->currentItem(); known && known->isSelected())
        emit addRequested(known->text());
}
