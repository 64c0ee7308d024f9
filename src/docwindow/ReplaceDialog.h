#pragma once

#include "documents/Document.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

// Finds text in the values of a document and replaces it; it stays open beside the document
// until closed. The document window carries out what it asks for.
class ReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ReplaceDialog(QWidget *owner);

    void setFindText(const QString &text);
    void setOptions(const MatchOptions &options);
    MatchOptions options() const;
    QLineEdit *txtFind() const { return m_txtFind; }
    QLineEdit *txtReplace() const { return m_txtReplace; }
    QCheckBox *chkWholeValue() const { return m_chkWholeValue; }
    QCheckBox *chkMatchCase() const { return m_chkMatchCase; }

signals:
    void findNextRequested(const QString &text, const MatchOptions &options);
    void replaceRequested(const QString &text, const QString &with, const MatchOptions &options);
    void replaceAllRequested(const QString &text, const QString &with, const MatchOptions &options);
    void optionsChanged(const MatchOptions &options);

private:
    QLineEdit *m_txtFind;
    QLineEdit *m_txtReplace;
    QCheckBox *m_chkWholeValue;
    QCheckBox *m_chkMatchCase;
};
