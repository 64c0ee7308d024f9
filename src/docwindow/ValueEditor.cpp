#include "docwindow/ValueEditor.h"

#include "documents/ValueRule.h"
#include "help/VariableHelp.h"
#include "platform/Twips.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {
// Room for the help of a long variable before the help area scrolls.
constexpr int HelpHeightLimit = 260;
}

ValueEditor::ValueEditor(const QString &name, const QString &value, const QString &help, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_name(name)
    , m_lblVarName(new QLabel(name))
    , m_lblHelp(new QLabel(help))
    , m_lblType(new QLabel(Help::valueTypeText(Help::valueType(name))))
    , m_txtValue(new QLineEdit(value))
    , m_lblNote(new QLabel)
    , m_cmdOk(new QPushButton(QStringLiteral("OK")))
    , m_cmdCancel(new QPushButton(QStringLiteral("Cancel")))
    , m_accepted(value)
    , m_original(value)
{
    setObjectName(QStringLiteral("frmInput"));
    setWindowTitle(QStringLiteral("Change the Value of..."));

    m_lblVarName->setObjectName(QStringLiteral("lblVarName"));
    QFont bold = m_lblVarName->font();
    bold.setBold(true);
    m_lblVarName->setFont(bold);

    // The whole help shows; a long one scrolls rather than being cut.
    m_lblHelp->setObjectName(QStringLiteral("lblHelp"));
    m_lblHelp->setWordWrap(true);
    m_lblHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblHelp->setToolTip(help);
    auto *helpArea = new QScrollArea;
    helpArea->setObjectName(QStringLiteral("scrHelp"));
    helpArea->setWidgetResizable(true);
    helpArea->setFrameShape(QFrame::NoFrame);
    helpArea->setWidget(m_lblHelp);

    m_lblType->setObjectName(QStringLiteral("lblType"));
    m_lblType->setVisible(!m_lblType->text().isEmpty());

    m_txtValue->setObjectName(QStringLiteral("txtValue"));
    m_txtValue->setMinimumWidth(m_txtValue->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 60 + 12);
    connect(m_txtValue, &QLineEdit::textEdited, this, &ValueEditor::keepStorable);

    m_lblNote->setObjectName(QStringLiteral("lblNote"));
    m_lblNote->setWordWrap(true);
    QPalette notePalette = m_lblNote->palette();
    notePalette.setColor(QPalette::WindowText, notePalette.color(QPalette::Link));
    m_lblNote->setPalette(notePalette);

    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdOk->setDefault(true);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(m_cmdOk, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cmdCancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblVarName);
    layout->addWidget(helpArea, 1);
    layout->addWidget(m_lblType);
    layout->addWidget(m_txtValue);
    layout->addWidget(m_lblNote);
    layout->addWidget(buttons);

    // The dialog is as tall as its help needs, up to a limit; the design's size is the smallest.
    setMinimumSize(Twips::size(5505, 2325));
    const int helpWidth = m_txtValue->minimumWidth();
    helpArea->setMinimumHeight(std::min(m_lblHelp->heightForWidth(helpWidth), HelpHeightLimit));
    updateNote();
    m_txtValue->setFocus();
}

// A ";" or a line break would end the value in the file, and what follows would be read as more of
// the unit. Typed or pasted, the text is cut at the first of them, and the note says why.
void ValueEditor::keepStorable(const QString &text)
{
    if (storableLength(text) == text.size()) {
        m_accepted = text;
        updateNote();
        return;
    }
    const QString before = m_accepted;
    qsizetype prefix = 0;
    while (prefix < before.size() && prefix < text.size() && before[prefix] == text[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < before.size() - prefix && suffix < text.size() - prefix
           && before[before.size() - 1 - suffix] == text[text.size() - 1 - suffix])
        ++suffix;
    QString inserted = text.mid(prefix, text.size() - prefix - suffix);
    inserted.truncate(storableLength(inserted));
    // A ";" typed over a selection leaves the selection as it was, rather than deleting it.
    QString kept = inserted.isEmpty() ? before : text.left(prefix) + inserted + text.right(suffix);
    kept.truncate(storableLength(kept));
    m_accepted = kept;
    m_txtValue->setText(kept);
    m_txtValue->setCursorPosition(int(std::min(prefix + (inserted.isEmpty() ? before.size() - prefix - suffix : inserted.size()), kept.size())));
    updateNote(valueRuleNote(CheckedValue::Change::Cut));
}

// The note under the value: why text was cut, that blanks at its ends will go, or what the
// variable expects when the text does not look like it. It never stops OK: modders use values the
// help does not know.
void ValueEditor::updateNote(const QString &cutNote)
{
    QString note = cutNote;
    if (note.isEmpty() && m_txtValue->text() != m_original)
        note = valueRuleNote(checkValue(m_txtValue->text()).change);
    if (note.isEmpty())
        note = Help::valueHint(m_name, m_txtValue->text());
    m_lblNote->setText(note);
}

QString ValueEditor::value() const
{
    // A value left as it was stays exactly so, blanks and all; a new one keeps the value rule.
    const QString text = m_txtValue->text();
    return text == m_original ? text : checkValue(text).value;
}
