#include "docwindow/ValueEditor.h"

#include "platform/Twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ValueEditor::ValueEditor(const QString &name, const QString &value, const QString &help, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowCloseButtonHint)
    , m_lblVarName(new QLabel(name, this))
    , m_lblHelp(new QLabel(help, this))
    , m_txtValue(new QLineEdit(value, this))
    , m_cmdOk(new QPushButton(QStringLiteral("OK"), this))
    , m_cmdCancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmInput"));
    setWindowTitle(QStringLiteral("Change the Value of..."));
    setFixedSize(Twips::size(5505, 2325));

    m_lblVarName->setObjectName(QStringLiteral("lblVarName"));
    QFont bold = m_lblVarName->font();
    bold.setBold(true);
    m_lblVarName->setFont(bold);
    m_lblVarName->setGeometry(Twips::rect(120, 120, 5295, 255));

    m_lblHelp->setObjectName(QStringLiteral("lblHelp"));
    m_lblHelp->setWordWrap(true);
    m_lblHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblHelp->setGeometry(Twips::rect(120, 480, 5295, 615));
    m_lblHelp->setToolTip(help);

    m_txtValue->setObjectName(QStringLiteral("txtValue"));
    m_txtValue->setGeometry(Twips::rect(120, 1320, 5295, 375));

    // Neither button is the default one: Enter in the text box closes nothing.
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdOk->setAutoDefault(false);
    m_cmdOk->setGeometry(Twips::rect(2400, 1800, 1455, 375));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->setAutoDefault(false);
    m_cmdCancel->setGeometry(Twips::rect(3960, 1800, 1455, 375));
    connect(m_cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(m_txtValue, m_cmdOk);
    setTabOrder(m_cmdOk, m_cmdCancel);
    m_txtValue->setFocus();
}

QString ValueEditor::value() const
{
    return m_txtValue->text();
}

// Enter and Esc do nothing here; only the buttons and the close box end the dialog.
void ValueEditor::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
