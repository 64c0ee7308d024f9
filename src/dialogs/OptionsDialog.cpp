#include "dialogs/OptionsDialog.h"

#include "dialogs/FolderPicker.h"
#include "platform/Dialogs.h"
#include "platform/Twips.h"
#include "settings/ProgramFolder.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {
constexpr int KeepLayoutRow = 360;

// The frames were drawn with their caption on the top border and the controls just below it;
// styles that put the caption above the border would run it into the first row of controls.
const QString FrameStyle = QStringLiteral(
    "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; padding: 0 2px; }");

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &title, const QRect &geometry)
{
    auto *frame = new QGroupBox(title, parent);
    frame->setObjectName(QLatin1String(name));
    frame->setStyleSheet(FrameStyle);
    frame->setGeometry(geometry);
    return frame;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry, bool wrap)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(wrap);
    label->setGeometry(geometry);
    // A one-line caption in a wide font may run on to the frame's edge.
    if (!wrap) {
        const int room = parent->width() - 2 * geometry.left();
        label->resize(std::clamp(label->sizeHint().width(), geometry.width(), std::max(room, geometry.width())),
                      geometry.height());
    }
    return label;
}

QLineEdit *makeLockedTextBox(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *text = new QLineEdit(parent);
    text->setObjectName(QLatin1String(name));
    text->setReadOnly(true);
    text->setGeometry(geometry);
    return text;
}

// A long path shows from its start: the drive and the first folders tell most.
void showPath(QLineEdit *text, const QString &path)
{
    text->setText(path);
    text->setCursorPosition(0);
}

// Only OK answers Enter: a dialog's buttons would otherwise become its default in turn.
QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setGeometry(geometry);
    return button;
}
}

OptionsDialog::OptionsDialog(const Options &current, Dialogs &dialogs, QWidget *owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Korvid Options"));
    // The dialog's size that modders know, one row taller for the layout choice.
    setFixedSize(Twips::size(5535, 3345 + KeepLayoutRow));

    m_frmLocs = makeFrame(this, "frmLocs", QStringLiteral("Locations"), Twips::rect(120, 120, 5295, 1815));
    m_lblVarInf = makeLabel(m_frmLocs, "lblVarInf", QStringLiteral("Location of the default TA variables file:"),
                            Twips::rect(120, 240, 3615, 255), false);
    m_txtVarsDat = makeLockedTextBox(m_frmLocs, "txtVarsDat", Twips::rect(120, 480, 3615, 375));
    m_cmdVarBrowse = makeButton(m_frmLocs, "cmdVarBrowse", QStringLiteral("Browse"), Twips::rect(3840, 480, 1335, 375));
    m_lblSaveInf = makeLabel(m_frmLocs, "lblSaveInf", QStringLiteral("The default save and load folder location:"),
                             Twips::rect(120, 1080, 3615, 255), false);
    m_txtSaveDir = makeLockedTextBox(m_frmLocs, "txtSaveDir", Twips::rect(120, 1320, 3615, 375));
    // The folder can be typed or pasted too; OK checks it.
    m_txtSaveDir->setReadOnly(false);
    m_cmdBrowse = makeButton(m_frmLocs, "cmdBrowse", QStringLiteral("Browse"), Twips::rect(3840, 1320, 1335, 375));

    m_frmAsc = makeFrame(this, "frmAsc", QStringLiteral("File Association"), Twips::rect(120, 2040, 5295, 735));
    m_lblAsc = makeLabel(m_frmAsc, "lblAsc",
                         QStringLiteral("Click associate if you want all TA \".FBI\" files to be associated with Korvid."),
                         Twips::rect(120, 240, 3495, 375), true);
    m_cmdAssociate = makeButton(m_frmAsc, "cmdAssociate", QStringLiteral("Associate"),
                                Twips::rect(3840, 240, 1335, 375));

    m_chkKeepLayout = new QCheckBox(QStringLiteral("Keep each file's own layout and comments"), this);
    m_chkKeepLayout->setObjectName(QStringLiteral("chkKeepLayout"));
    m_chkKeepLayout->setGeometry(Twips::rect(120, 2880, 5295, 255));
    m_chkKeepLayout->setToolTip(QStringLiteral("Saving changes only the values you changed, the lines you removed and the "
                                               "lines you added. Unchecked, every save writes the standard layout."));

    m_cmdOk = makeButton(this, "cmdOk", QStringLiteral("OK"), Twips::rect(2400, 2880 + KeepLayoutRow, 1455, 375));
    // Enter is OK wherever the focus is; Escape is Cancel, as QDialog gives it.
    m_cmdOk->setDefault(true);
    m_cmdCancel = makeButton(this, "cmdCancel", QStringLiteral("Cancel"), Twips::rect(3960, 2880 + KeepLayoutRow, 1455, 375));

    setTabOrder(m_txtVarsDat, m_cmdVarBrowse);
    setTabOrder(m_cmdVarBrowse, m_txtSaveDir);
    setTabOrder(m_txtSaveDir, m_cmdBrowse);
    setTabOrder(m_cmdBrowse, m_cmdAssociate);
    setTabOrder(m_cmdAssociate, m_chkKeepLayout);
    setTabOrder(m_chkKeepLayout, m_cmdOk);
    setTabOrder(m_cmdOk, m_cmdCancel);

    connect(m_cmdVarBrowse, &QPushButton::clicked, this, &OptionsDialog::chooseVariablesFile);
    connect(m_cmdBrowse, &QPushButton::clicked, this, &OptionsDialog::chooseSaveFolder);
    connect(m_cmdAssociate, &QPushButton::clicked, this, &OptionsDialog::associate);
    connect(m_cmdOk, &QPushButton::clicked, this, &OptionsDialog::confirm);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    m_cmdAssociate->setEnabled(!current.associated);
    if (current.associated)
        m_cmdAssociate->setToolTip(QStringLiteral("Korvid already opens .fbi files on this computer."));
    m_chkKeepLayout->setChecked(current.keepLayout);
    showPath(m_txtVarsDat, current.variableFile);
    showPath(m_txtSaveDir, current.projectFolder);
    m_pendingVarsDat = current.variableFile;
    m_pendingSaveDir = current.projectFolder;
}

OptionsDialog::Choice OptionsDialog::choice() const
{
    return Choice{m_pendingVarsDat, m_pendingSaveDir, m_chkKeepLayout->isChecked(), m_pendingAssociate};
}

void OptionsDialog::chooseVariablesFile()
{
    const QStringList chosen = m_dialogs.fileDialog(
        this, FileDialogRequest{FileDialogRequest::Mode::Open, QStringLiteral("Open..."),
                                {QStringLiteral("Variable Data File(*.dat)")}, 0, QStringLiteral("dat"),
                                ProgramFolder::path(), m_chosenVarsDat});
    if (chosen.isEmpty() || chosen.constFirst().isEmpty())
        return;
    m_chosenVarsDat = chosen.constFirst();
    m_pendingVarsDat = m_chosenVarsDat;
    showPath(m_txtVarsDat, m_pendingVarsDat);
}

void OptionsDialog::chooseSaveFolder()
{
    const QString folder = FolderPicker::browseDirectory(m_dialogs, *this, m_txtSaveDir->text());
    if (folder.isEmpty())
        return;
    m_pendingSaveDir = folder;
    showPath(m_txtSaveDir, folder);
}

void OptionsDialog::associate()
{
    m_pendingAssociate = true;
    m_cmdAssociate->setEnabled(false);
    m_cmdAssociate->setToolTip(QStringLiteral(".fbi files will open with Korvid when you click OK."));
}

// A folder typed or pasted must exist; one left as it was is not the user's doing and passes.
bool OptionsDialog::takeTypedFolder()
{
    const QString typed = m_txtSaveDir->text().trimmed();
    if (typed == m_pendingSaveDir)
        return true;
    if (typed.isEmpty()) {
        m_pendingSaveDir.clear();
        return true;
    }
    if (!QFileInfo(typed).isDir()) {
        m_dialogs.message(this,
                          QStringLiteral("The folder ") + typed
                              + QStringLiteral(" does not exist.\r\nPlease type the path of an existing folder, or "
                                               "choose one with Browse."),
                          QStringLiteral("Korvid Options"), QMessageBox::Ok, QMessageBox::Warning);
        m_txtSaveDir->setFocus();
        m_txtSaveDir->selectAll();
        return false;
    }
    m_pendingSaveDir = FolderPicker::directoryPath(QDir::toNativeSeparators(typed));
    return true;
}

// OK takes a typed folder only when it exists; otherwise the dialog stays open and says so.
void OptionsDialog::confirm()
{
    if (takeTypedFolder())
        accept();
}
