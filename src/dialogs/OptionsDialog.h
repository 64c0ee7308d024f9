#pragma once

#include "settings/Settings.h"

#include <QDialog>

class Dialogs;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The options: the variables data file, the default folder of the file dialogs, the layout of
// saves and the file association. It changes nothing itself: once it is accepted, choice() says
// what the user chose. Built afresh for every showing.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    struct Choice
    {
        QString variableFile;
        QString projectFolder;
        bool keepLayout = true;
        bool associate = false;     // Associate was clicked
    };

    // Starts from the options in use; Associate is offered until the files are associated.
    OptionsDialog(const Options &current, Dialogs &dialogs, QWidget *owner);

    Choice choice() const;

    QLineEdit *txtVarsDat() const { return m_txtVarsDat; }
    QLineEdit *txtSaveDir() const { return m_txtSaveDir; }
    QLabel *lblAsc() const { return m_lblAsc; }
    QPushButton *cmdVarBrowse() const { return m_cmdVarBrowse; }
    QPushButton *cmdBrowse() const { return m_cmdBrowse; }
    QPushButton *cmdAssociate() const { return m_cmdAssociate; }
    QCheckBox *chkKeepLayout() const { return m_chkKeepLayout; }
    QPushButton *cmdOk() const { return m_cmdOk; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }

private:
    void chooseVariablesFile();
    void chooseSaveFolder();
    void associate();
    bool takeTypedFolder();
    void confirm();

    QGroupBox *m_frmLocs;
    QLabel *m_lblVarInf;
    QLineEdit *m_txtVarsDat;
    QPushButton *m_cmdVarBrowse;
    QLabel *m_lblSaveInf;
    QLineEdit *m_txtSaveDir;
    QPushButton *m_cmdBrowse;
    QGroupBox *m_frmAsc;
    QLabel *m_lblAsc;
    QPushButton *m_cmdAssociate;
    QCheckBox *m_chkKeepLayout;
    QPushButton *m_cmdOk;
    QPushButton *m_cmdCancel;
    Dialogs &m_dialogs;
    QString m_chosenVarsDat;

    QString m_pendingVarsDat;
    QString m_pendingSaveDir;
    bool m_pendingAssociate = false;
};
