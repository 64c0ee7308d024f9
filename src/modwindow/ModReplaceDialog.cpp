#include "modwindow/ModReplaceDialog.h"

#include "modwindow/ChangeList.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ModReplaceDialog::ModReplaceDialog(Finder finder, bool hasSelection, QWidget *parent)
    : QDialog(parent)
    , m_finder(std::move(finder))
    , m_find(new QLineEdit)
    , m_replace(new QLineEdit)
    , m_wholeValue(new QCheckBox(QStringLiteral("Match &whole value")))
    , m_matchCase(new QCheckBox(QStringLiteral("Match &case")))
    , m_regularExpression(new QCheckBox(QStringLiteral("Regular e&xpression (\\1 in the replacement for a capture)")))
    , m_wholeMod(new QRadioButton(QStringLiteral("The whole &mod")))
    , m_selection(new QRadioButton(QStringLiteral("The selected c&ells")))
    , m_preview(new QPushButton(QStringLiteral("&Preview")))
    , m_apply(new QPushButton(QStringLiteral("&Replace")))
    , m_list(new ChangeList)
    , m_summary(new QLabel)
{
    setObjectName(QStringLiteral("frmModReplace"));
    setWindowTitle(QStringLiteral("Replace in Mod"));
    m_find->setObjectName(QStringLiteral("txtFind"));
    m_replace->setObjectName(QStringLiteral("txtReplace"));
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_summary->setWordWrap(true);
    m_selection->setEnabled(hasSelection);
    (hasSelection ? m_selection : m_wholeMod)->setChecked(true);

    auto *form = new QFormLayout;
    auto *findLabel = new QLabel(QStringLiteral("&Find what:"));
    findLabel->setBuddy(m_find);
    auto *replaceLabel = new QLabel(QStringLiteral("Replace wit&h:"));
    replaceLabel->setBuddy(m_replace);
    form->addRow(findLabel, m_find);
    form->addRow(replaceLabel, m_replace);
    auto *options = new QVBoxLayout;
    options->addWidget(m_wholeValue);
    options->addWidget(m_matchCase);
    options->addWidget(m_regularExpression);
    auto *scope = new QVBoxLayout;
    scope->addWidget(new QLabel(QStringLiteral("Look in:")));
    scope->addWidget(m_wholeMod);
    scope->addWidget(m_selection);
    scope->addStretch();
    auto *choices = new QHBoxLayout;
    choices->addLayout(options, 1);
    choices->addLayout(scope);

    auto *buttons = new QDialogButtonBox;
    buttons->addButton(m_preview, QDialogButtonBox::ActionRole);
    buttons->addButton(m_apply, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Close);
    m_preview->setDefault(true);
    m_apply->setEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(choices);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    resize(760, 460);

    connect(m_preview, &QPushButton::clicked, this, &ModReplaceDialog::preview);
    m_list->makeOnClick(m_apply, this, [this](const QList<TableChange> &changes) { emit applyRequested(changes); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &ChangeList::checkedChanged, this, [this] {
        m_summary->setText(m_list->summary());
        m_apply->setEnabled(m_previewed && m_list->checkedCount() > 0);
    });
    for (QLineEdit *edit : {m_find, m_replace})
        connect(edit, &QLineEdit::textEdited, this, &ModReplaceDialog::optionsEdited);
    for (QAbstractButton *box : std::initializer_list<QAbstractButton *>{m_wholeValue, m_matchCase, m_regularExpression, m_wholeMod, m_selection})
        connect(box, &QAbstractButton::toggled, this, &ModReplaceDialog::optionsEdited);
}

ModReplace::Options ModReplaceDialog::options() const
{
    return ModReplace::Options{m_find->text(), m_replace->text(), m_wholeValue->isChecked(), m_matchCase->isChecked(),
                               m_regularExpression->isChecked()};
}

// What was previewed is what is made: a change of the options asks for a new preview first.
void ModReplaceDialog::optionsEdited()
{
    m_previewed = false;
    m_apply->setEnabled(false);
    m_preview->setDefault(true);
    if (!m_list->changes().isEmpty()) {
        m_list->setChanges({});
        m_summary->setText(QStringLiteral("The options changed: Preview again."));
    }
}

bool ModReplaceDialog::preview()
{
    const ModReplace replace(options());
    if (!replace.error().isEmpty()) {
        m_list->setChanges({});
        m_summary->setText(replace.error());
        return false;
    }
    m_previewed = true;
    m_list->setChanges(m_finder(replace, m_selection->isChecked()));
    if (m_list->checkedCount() > 0)
        m_apply->setDefault(true);
    return true;
}
