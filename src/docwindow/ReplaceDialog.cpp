#include "docwindow/ReplaceDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ReplaceDialog::ReplaceDialog(QWidget *owner)
    : QDialog(owner)
    , m_txtFind(new QLineEdit)
    , m_txtReplace(new QLineEdit)
    , m_chkWholeValue(new QCheckBox(QStringLiteral("&Whole value only")))
    , m_chkMatchCase(new QCheckBox(QStringLiteral("Match &case")))
{
    setObjectName(QStringLiteral("frmReplace"));
    setWindowTitle(QStringLiteral("Replace"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_txtFind->setObjectName(QStringLiteral("txtFind"));
    m_txtReplace->setObjectName(QStringLiteral("txtReplace"));
    m_chkWholeValue->setObjectName(QStringLiteral("chkWholeValue"));
    m_chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    // "150" with the whole value only leaves 1150 alone.
    m_chkWholeValue->setToolTip(QStringLiteral("Replace only values that are the text, not those that hold it"));

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Fi&nd in values:"), m_txtFind);
    fields->addRow(QStringLiteral("Re&place with:"), m_txtReplace);
    fields->addRow(QString(), m_chkWholeValue);
    fields->addRow(QString(), m_chkMatchCase);

    auto *buttons = new QDialogButtonBox(Qt::Horizontal);
    QPushButton *findNext = buttons->addButton(QStringLiteral("&Find Next"), QDialogButtonBox::ActionRole);
    QPushButton *replace = buttons->addButton(QStringLiteral("&Replace"), QDialogButtonBox::ActionRole);
    QPushButton *replaceAll = buttons->addButton(QStringLiteral("Replace &All"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    findNext->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(findNext, &QPushButton::clicked, this, [this] {
        if (!m_txtFind->text().isEmpty())
            emit findNextRequested(m_txtFind->text(), options());
    });
    connect(replace, &QPushButton::clicked, this, [this] {
        if (!m_txtFind->text().isEmpty())
            emit replaceRequested(m_txtFind->text(), m_txtReplace->text(), options());
    });
    connect(replaceAll, &QPushButton::clicked, this, [this] {
        if (!m_txtFind->text().isEmpty())
            emit replaceAllRequested(m_txtFind->text(), m_txtReplace->text(), options());
    });
    for (QCheckBox *box : {m_chkWholeValue, m_chkMatchCase})
        connect(box, &QCheckBox::toggled, this, [this] { emit optionsChanged(options()); });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

void ReplaceDialog::setFindText(const QString &text)
{
    m_txtFind->setText(text);
    m_txtFind->selectAll();
}

void ReplaceDialog::setOptions(const MatchOptions &options)
{
    m_chkWholeValue->setChecked(options.wholeValue);
    m_chkMatchCase->setChecked(options.matchCase);
}

MatchOptions ReplaceDialog::options() const
{
    return MatchOptions{m_chkWholeValue->isChecked(), m_chkMatchCase->isChecked()};
}
