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
    , m_lblNote(new QLabel(this))
    , m_accepted(value)
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
    connect(m_txtValue, &QLineEdit::textEdited, this, &ValueEditor::keepStorable);

    m_lblNote->setObjectName(QStringLiteral("lblNote"));
    m_lblNote->setWordWrap(true);
    m_lblNote->setGeometry(Twips::rect(120, 1800, 2200, 375));

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

// A ";" or a line break would end the value in the file, and what follows would be read as more of
// the unit. Typed or pasted, the text is cut at the first of them, and the note says why.
void ValueEditor::keepStorable(const QString &text)
{
    const QString before = m_accepted;
    qsizetype prefix = 0;
    while (prefix < before.size() && prefix < text.size() && before[prefix] == text[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < before.size() - prefix && suffix < text.size() - prefix
           && before[before.size() - 1 - suffix] == text[text.size() - 1 - suffix])
        ++suffix;
    QString inserted = text.mid(prefix, text.size() - prefix - suffix);
    const qsizetype cut = storableLength(inserted);
    if (cut == inserted.size() && storableLength(text) == text.size()) {
        m_accepted = text;
        m_lblNote->clear();
        return;
    }
    inserted.truncate(cut);
    QString kept = text.left(prefix) + inserted + text.right(suffix);
    kept.truncate(storableLength(kept));
    m_accepted = kept;
    m_txtValue->setText(kept);
    m_txtValue->setCursorPosition(int(std::min(prefix + inserted.size(), kept.size())));
    m_lblNote->setText(QStringLiteral("A value cannot hold \";\" or a line break."));
}

qsizetype ValueEditor::storableLength(QStringView text)
{
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar c = text[index];
        if (c == QLatin1Char(';') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return index;
    }
    return text.size();
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
