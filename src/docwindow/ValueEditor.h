#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The small modal dialog in which the user changes one value: the variable's name, the help the
// main window shows with the kind of value the variable takes, and the value to edit. Enter is OK,
// Escape is Cancel.
class ValueEditor : public QDialog
{
    Q_OBJECT

public:
    ValueEditor(const QString &name, const QString &value, const QString &help, QWidget *owner);

    // The value as typed, kept to the value rule: no ";" or line break, no blanks at its ends.
    QString value() const;

    QLabel *lblVarName() const { return m_lblVarName; }
    QLabel *lblHelp() const { return m_lblHelp; }
    QLabel *lblType() const { return m_lblType; }
    QLineEdit *txtValue() const { return m_txtValue; }
    QLabel *lblNote() const { return m_lblNote; }
    QPushButton *cmdOk() const { return m_cmdOk; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }

private:
    void keepStorable(const QString &text);
    void updateNote(const QString &cutNote = {});

    QString m_name;
    QLabel *m_lblVarName;
    QLabel *m_lblHelp;
    QLabel *m_lblType;
    QLineEdit *m_txtValue;
    QLabel *m_lblNote;
    QPushButton *m_cmdOk;
    QPushButton *m_cmdCancel;
    QString m_accepted;     // the text as it stood after the last edit
    QString m_original;
};
