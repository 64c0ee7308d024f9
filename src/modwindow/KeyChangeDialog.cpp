#include "modwindow/KeyChangeDialog.h"

#include "mod/ModTable.h"
#include "modwindow/ChangeList.h"

#include <QCompleter>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

KeyChangeDialog::KeyChangeDialog(Mode mode, const ModTable *table, const QList<int> &rows, QWidget *parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_table(table)
    , m_rows(rows)
    , m_key(new QLineEdit)
    , m_value(new QLineEdit)
    , m_list(new ChangeList)
    , m_summary(new QLabel)
    , m_apply(new QPushButton(mode == Mode::Add ? QStringLiteral("&Add") : QStringLiteral("&Remove")))
{
    const bool adding = mode == Mode::Add;
    setObjectName(adding ? QStringLiteral("frmAddKey") : QStringLiteral("frmRemoveKey"));
    setWindowTitle(adding ? QStringLiteral("Add Key") : QStringLiteral("Remove Key"));
    m_key->setObjectName(QStringLiteral("txtKey"));
    m_value->setObjectName(QStringLiteral("txtValue"));
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_summary->setWordWrap(true);
    QStringList keys;
    for (int column = ModTable::FirstKeyColumn; column < table->keyColumnCount(); ++column)
        keys.append(table->key(column));
    auto *completer = new QCompleter(keys, this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_key->setCompleter(completer);
    m_key->setPlaceholderText(QStringLiteral("such as BuildTime, or customparams.notes in a section"));

    auto *form = new QFormLayout;
    auto *keyLabel = new QLabel(QStringLiteral("&Key:"));
    keyLabel->setBuddy(m_key);
    form->addRow(keyLabel, m_key);
    if (adding) {
        auto *valueLabel = new QLabel(QStringLiteral("&Value:"));
        valueLabel->setBuddy(m_value);
        form->addRow(valueLabel, m_value);
    } else {
        m_value->hide();
    }
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(m_apply, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    m_apply->setDefault(true);
    m_apply->setEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("The %1 selected rows:").arg(rows.size())));
    layout->addWidget(m_list, 1);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    resize(700, 400);

    connect(m_key, &QLineEdit::textChanged, this, &KeyChangeDialog::preview);
    connect(m_value, &QLineEdit::textChanged, this, &KeyChangeDialog::preview);
    connect(m_list, &ChangeList::checkedChanged, this, [this] {
        QString text = m_list->summary();
        if (m_mode == Mode::Add) {
            // A row that sets the key already has its value set instead: the user is told which.
            QStringList having;
            for (const TableChange &change : m_list->changes()) {
                if (change.canApply() && change.action == TableChange::Action::Set)
                    having.append(m_table->unitName(change.row));
            }
            if (!having.isEmpty())
                text += QStringLiteral(". These set the key already, and get the value instead: ") + having.join(QStringLiteral(", "));
        }
        m_summary->setText(text);
        m_apply->setEnabled(m_list->checkedCount() > 0);
    });
    m_list->makeOnClick(m_apply, this, [this](const QList<TableChange> &changes) { emit applyRequested(changes); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    preview();
}

void KeyChangeDialog::preview()
{
    const QString key = m_key->text().trimmed();
    QList<TableChange> changes;
    if (!key.isEmpty()) {
        for (int row : std::as_const(m_rows))
            changes.append(m_mode == Mode::Add ? m_table->additionFor(row, key, m_value->text()) : m_table->removalFor(row, key));
    }
    m_list->setChanges(changes);
    if (key.isEmpty())
        m_summary->setText(QStringLiteral("Type the key."));
}
