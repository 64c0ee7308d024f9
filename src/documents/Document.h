#pragma once

#include "documents/FbiContent.h"
#include "documents/FbiReader.h"
#include "documents/FileStamp.h"

#include <QAbstractTableModel>
#include <QUndoStack>

// One open unit file: its rows, its number in the document set, the file it was read from or
// written to, and whether the rows differ from that file. Column 0 is the name, column 1 the
// value; the document window shows each column in its own list, so the rows exist once.
//
// Every edit is one step of the document's own history; the document is modified while the
// history stands anywhere but where the file was last read or written.
class Document : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn = 0, ValueColumn = 1 };

    explicit Document(int number, QObject *parent = nullptr);

    int number() const { return m_number; }
    // The number a document set gives it; the default title follows it.
    void setNumber(int number);
    // "DefaultN.fbi" until the document is read from or written to a file, then the file's name.
    QString title() const { return m_title; }
    QString filePath() const { return m_filePath; }
    bool isModified() const { return m_markedModified || !m_history.isClean(); }
    // True when path names this document's file, however it is written.
    bool isFile(const QString &path) const;
    // True when path is this document's file and it is not what was last read from it or written to it.
    bool fileChangedOnDisk(const QString &path) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const FbiContent &content() const { return m_content; }
    // The rows as read from a file: no history, not modified.
    void setContent(FbiContent content);
    // What was read from the file at path; the document stands for that file only when it was
    // read without an error, and otherwise keeps its title.
    void load(const QString &path, FbiReadResult read);
    // The document now stands for the file at path, as stamp says it is: read from it or written to it.
    void setFile(const QString &path, const FileStamp &stamp);

    QString name(int row) const { return m_content.name(row); }
    QString value(int row) const { return m_content.value(row); }
    QList<FbiRow> rows(const QList<int> &rows) const;

    // The edits, each one step of the history. A value set to what it already is makes no step.
    void setValue(int row, const QString &value);
    void appendRow(const QString &name, const QString &value);
    void insertRows(int at, const QList<FbiRow> &rows, const QString &stepName);
    void removeRows(const QList<int> &rows, const QString &stepName);
    // Several values changed as one step; the same value again is left out.
    void setValues(const QList<std::pair<int, QString>> &values, const QString &stepName);
    // Counts as a change until the next save, without a step (a remove with no row selected).
    void markModified();

    // The first row at or after from, wrapping at the end, whose name or value (or only value)
    // holds text in any letter case; -1 when none does.
    int findRow(const QString &text, int from) const;
    int findValueRow(const QString &text, int from) const;
    // Replaces text in every value that holds it, in any letter case, as one step; names stay.
    // Returns how many values changed.
    int replaceInValues(const QString &text, const QString &with);

    QUndoStack *history() { return &m_history; }

signals:
    void titleChanged(const QString &title);
    void modifiedChanged(bool modified);
    // The rows a step, its undo or its redo left inserted, restored or changed, in order.
    void rowsEdited(const QList<int> &rows);

private:
    void push(const QString &stepName, std::function<void()> redo, std::function<void()> undo);
    void insertRow(int at, const QString &name, const QString &value);
    FbiContent::TakenRow takeRow(int row);
    void restoreRow(int at, const FbiContent::TakenRow &row);
    void changeValue(int row, const QString &value);
    void updateModified();
    int findFrom(int from, const std::function<bool(int)> &matches) const;

    int m_number;
    QString m_title;
    QString m_filePath;
    FileStamp m_stamp;
    FbiContent m_content;
    QUndoStack m_history;
    bool m_markedModified = false;
    bool m_wasModified = false;
};

// Rows as a unit file writes them, one "Name=Value;" line each with CR LF, for the clipboard.
QString unitFileLines(const QList<FbiRow> &rows);

// The name a path is shown by: the text after its last separator, or nothing when it has none.
QString fileNameOfPath(const QString &path);
