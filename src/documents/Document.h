#pragma once

#include "documents/FbiContent.h"

#include <QAbstractTableModel>

// One open unit file: its rows, its number in the document set, the file it was read from or
// written to, and whether the rows differ from that file. Column 0 is the name, column 1 the
// value; the document window shows each column in its own list, so the rows exist once.
class Document : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn = 0, ValueColumn = 1 };

    explicit Document(int number, QObject *parent = nullptr);

    int number() const { return m_number; }
    // "DefaultN.fbi" until the document is read from or written to a file, then the file's name.
    QString title() const { return m_title; }
    QString filePath() const { return m_filePath; }
    bool isModified() const { return m_modified; }
    // True when path is this document's file and it is not what was last read from it or written to it.
    bool fileChangedOnDisk(const QString &path) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const FbiContent &content() const { return m_content; }
    // The rows as read from a file; the document stays unmodified.
    void setContent(FbiContent content);
    // The document now stands for the file at path: read from it or written to it.
    void setFile(const QString &path);

    QString name(int row) const { return m_content.name(row); }
    QString value(int row) const { return m_content.value(row); }

    // Edits mark the document modified; a value set to what it already is changes nothing.
    void appendRow(const QString &name, const QString &value);
    void setValue(int row, const QString &value);
    void removeRow(int row);
    void setModified(bool modified);

signals:
    void titleChanged(const QString &title);
    void modifiedChanged(bool modified);

private:
    int m_number;
    QString m_title;
    QString m_filePath;
    bool m_modified = false;
    FbiContent m_content;
};

// The name a path is shown by: the text after its last separator, or nothing when it has none.
QString fileNameOfPath(const QString &path);
