#include "docwindow/ReplaceDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ReplaceDialog::ReplaceDialog(QWidget *owner)
    : QDialog(owner)
    , m_txtFind(new QLineEdit)
    , m_txtReplace(new QLineEdit)
{
    setObjectName(QStringLiteral("frmReplace"));
    setWindowTitle(QStringLiteral("Replace"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_txtFind->setObjectName(QStringLiteral("txtFind"));
    m_txtReplace->setObjectName(QStringLiteral("txtReplace"));

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Fi&nd in values:"), m_txtFind);
    fields->addRow(QStringLiteral("Re&place with:"), m_txtReplace);

    auto *buttons = new QDialogButtonBox(Qt::Horizontal);
    QPushButton *findNext = buttons->addButton(QStringLiteral("&Find Next"), QDialogButtonBox::ActionRole);
    QPushButton *replace = buttons->addButton(QStringLiteral("&Replace"), QDialogButtonBox::ActionRole);
    QPushButton *replaceAll = buttons->addButton(QStringLiteral("Replace &All"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    findNext->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(findNext, &QPushButton::clicked, this, [this] {
        if (!m_txtFind->text().isEmpty())
            emit findNextRequested(m_txtFind->text());
    });
    connect(replace, &QPushButton::clicked, this, [this] {
        if (!m_txtFind->text().isEmpty())
            emit replaceRequested(m_txtFind->text(), m_txtReplace->text());
    });
    connect(replaceAll, &QPushButton::clicked, this, [this] {
        if (!m_txtFind->text().isEmpty())
            emit replaceAllRequested(m_txtFind->text(), m_txtReplace->text());
    });

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
