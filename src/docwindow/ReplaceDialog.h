#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// Finds text in the values of a document and replaces it; it stays open beside the document
// until closed. The document window carries out what it asks for.
class ReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ReplaceDialog(QWidget *owner);

    void setFindText(const QString &text);
    QLineEdit *txtFind() const { return m_txtFind; }
    QLineEdit *txtReplace() const { return m_txtReplace; }

signals:
    void findNextRequested(const QString &text);
    void replaceRequested(const QString &text, const QString &with);
    void replaceAllRequested(const QString &text, const QString &with);

private:
    QLineEdit *m_txtFind;
    QLineEdit *m_txtReplace;
};
