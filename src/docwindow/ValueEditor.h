#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The small modal dialog in which the user changes one value: the variable's name, the help the
// main window shows, and the value to edit. Only OK and Cancel (or the close box) end it.
class ValueEditor : public QDialog
{
    Q_OBJECT

public:
    ValueEditor(const QString &name, const QString &value, const QString &help, QWidget *owner);

    // The text as typed, not trimmed; it never holds a ";" or a line break.
    QString value() const;

    QLabel *lblVarName() const { return m_lblVarName; }
    QLabel *lblHelp() const { return m_lblHelp; }
    QLineEdit *txtValue() const { return m_txtValue; }
    QPushButton *cmdOk() const { return m_cmdOk; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }
    QLabel *lblNote() const { return m_lblNote; }

    // How much of text can stand as a value in a unit file: everything before its first ";" or line break.
    static qsizetype storableLength(QStringView text);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void keepStorable(const QString &text);

    QLabel *m_lblVarName;
    QLabel *m_lblHelp;
    QLineEdit *m_txtValue;
    QPushButton *m_cmdOk;
    QPushButton *m_cmdCancel;
    QLabel *m_lblNote;
    QString m_accepted;     // the text as it stood after the last edit
};
