#include "modwindow/ImportDialog.h"

#include "modwindow/ChangeList.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ImportDialog::ImportDialog(const TableImport::Result &result, const QString &file, QWidget *parent)
    : QDialog(parent)
    , m_list(new ChangeList)
    , m_leftOut(new QListWidget)
    , m_summary(new QLabel)
    , m_apply(new QPushButton(QStringLiteral("&Import")))
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Import Table"));
    m_leftOut->setObjectName(QStringLiteral("lstLeftOut"));
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_summary->setWordWrap(true);
    m_list->setChanges(result.changes);
    for (const QString &unknown : result.unknownFiles)
        new QListWidgetItem(QStringLiteral("A file the mod does not have: %1").arg(unknown), m_leftOut);
    for (const QString &unknown : result.unknownColumns)
        new QListWidgetItem(QStringLiteral("A column that is no key of the table: %1").arg(unknown), m_leftOut);

    auto *buttons = new QDialogButtonBox;
    buttons->addButton(m_apply, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    m_apply->setDefault(true);
    auto *leftOutLabel = new QLabel(QStringLiteral("Left &out, as the mod has nothing to match them:"));
    leftOutLabel->setBuddy(m_leftOut);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("The values of %1 that differ from the mod's (an empty cell changes nothing):")
                                     .arg(QDir::toNativeSeparators(file))));
    layout->addWidget(m_list, 3);
    layout->addWidget(m_summary);
    layout->addWidget(leftOutLabel);
    layout->addWidget(m_leftOut, 1);
    leftOutLabel->setVisible(m_leftOut->count() > 0);
    m_leftOut->setVisible(m_leftOut->count() > 0);
    layout->addWidget(buttons);
    resize(760, 480);

    auto update = [this] {
        m_summary->setText(m_list->summary());
        m_apply->setEnabled(m_list->checkedCount() > 0);
    };
    connect(m_list, &ChangeList::checkedChanged, this, update);
    update();
    m_list->makeOnClick(m_apply, this, [this](const QList<TableChange> &changes) { emit applyRequested(changes); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}
