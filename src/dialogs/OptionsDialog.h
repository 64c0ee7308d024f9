#pragma once

#include <QDialog>

class Dialogs;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Registry;
class Settings;
struct Options;

// The options: the variables data file, the default folder of the file dialogs and the file
// association. Choices stay pending until OK writes them to the settings and to the options in use.
// Built afresh for every showing.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    OptionsDialog(Settings &settings, Options &options, Dialogs &dialogs, Registry &registry, QWidget *owner);

    QLineEdit *txtVarsDat() const { return m_txtVarsDat; }
    QLineEdit *txtSaveDir() const { return m_txtSaveDir; }
    QLabel *lblAsc() const { return m_lblAsc; }
    QPushButton *cmdVarBrowse() const { return m_cmdVarBrowse; }
    QPushButton *cmdBrowse() const { return m_cmdBrowse; }
    QPushButton *cmdAssociate() const { return m_cmdAssociate; }
    QCheckBox *chkKeepLayout() const { return m_chkKeepLayout; }
    QPushButton *cmdOk() const { return m_cmdOk; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }

    QString PendingVarsDat() const { return m_pendingVarsDat; }
    QString PendingSaveDir() const { return m_pendingSaveDir; }

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
    Settings &m_settings;
    Options &m_options;
    Dialogs &m_dialogs;
    Registry &m_registry;
    QString m_chosenVarsDat;

    QString m_pendingVarsDat;
    QString m_pendingSaveDir;
    bool m_pendingAssociate = false;
};
