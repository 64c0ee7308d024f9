#pragma once

#include "documents/FbiContent.h"
#include "documents/FbiReader.h"
#include "documents/FileStamp.h"

#include <QAbstractTableModel>
#include <QUndoStack>

#include <functional>
#include <optional>

// How Find and Replace match a text in a value.
struct MatchOptions
{
    bool wholeValue = false;    // the value is the text, not only holds it
    bool matchCase = false;
};

// What a Replace All did: how many times the text was replaced, in how many rows, and how many
// values it left as they were because the result breaks the value rule.
struct ReplaceCount
{
    int replaced = 0;
    int rows = 0;
    int refused = 0;
};

// Several changes to one document that make one step: values set, variables added at the end of
// the variables of a section (given by its header's row; -1 for the outermost rows), and variables
// taken out. Every row is given as it stands before the edit.
struct DocumentEdit
{
    QList<std::pair<int, QString>> values;
    QList<std::pair<int, FbiRow>> added;
    QList<int> removed;
    bool isEmpty() const { return values.isEmpty() && added.isEmpty() && removed.isEmpty(); }
};

// One open definition file: its rows, its number in the document set, the file it was read from or
// written to, and whether the rows differ from that file. Column 0 is the name, column 1 the value;
// the document window shows each column in its own list, so the rows exist once. A section's header
// is a row of its own, its rows one level deeper after it.
//
// Every edit is one step of the document's own history; the document is modified while the
// history stands anywhere but where the file was last read or written. Every value that enters
// keeps the value rule, and no edit takes the file past what the reader opens again: such an edit
// is refused whole, with the reason.
class Document : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn = 0, ValueColumn = 1 };
    enum Role {
        DepthRole = Qt::UserRole + 1,   // how many sections the row stands in
        SectionRole,                    // the row is a section's header
        OverriddenByRole,               // overridingRow() of the row
    };

    explicit Document(int number, QObject *parent = nullptr);

    int number() const { return m_number; }
    // The number a document set gives it; the default title follows it.
    void setNumber(int number);
    // "DefaultN.fbi" until the document is read from or written to a file, then the file's name.
    QString title() const { return m_title; }
    QString filePath() const { return m_filePath; }
    bool isModified() const { return !m_history.isClean(); }
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
    // written, when given, is the file's text as a save wrote it, read back with the same rows: the
    // document stands on it from then on, its rows' lines counted there.
    void setFile(const QString &path, const FileStamp &stamp, std::optional<FbiContent> written = {});

    QString name(int row) const { return m_content.name(row); }
    QString value(int row) const { return m_content.value(row); }
    bool isSection(int row) const { return m_content.isSection(row); }
    // Variables only: a section's header is not a row to copy.
    QList<FbiRow> rows(const QList<int> &rows) const;
    // The first variable of the section that row stands in (or the outermost, for -1) whose name
    // is name in any letter case, as the engines read keys; -1 when there is none.
    int findKey(const QString &name, int row = -1) const;
    // The last row of the same section that sets the same key as row, in any letter case, when it
    // is after row: the engines use that one, and row has no effect. -1 otherwise.
    int overridingRow(int row) const;

    // The edits, each one step of the history; an empty text means the edit was made, otherwise
    // it says why it was refused. A value set to what it already is makes no step.
    QString setValue(int row, const QString &value);
    // Several values changed as one step; the same value again is left out.
    QString setValues(const QList<std::pair<int, QString>> &values, const QString &stepName);
    // Values set, variables added and variables taken out as one step. step, when given, is set to the serial number of
    // the step made (0 when nothing changed), by which stepIndex() finds it in the history.
    QString apply(const DocumentEdit &edit, const QString &stepName, quint64 *step = nullptr);
    // Variables inserted at a place, in the section of the row before it.
    QString insertRows(int at, const QList<FbiRow> &rows, const QString &stepName);
    // A variable added at the end of the section that row stands in (the outermost, for -1).
    QString addRow(const QString &name, const QString &value, int row = -1);
    void removeRows(const QList<int> &rows, const QString &stepName);

    // The first row at or after from, wrapping at the end, whose name or value (or only value)
    // holds text; -1 when none does.
    int findRow(const QString &text, int from, const MatchOptions &options = {}) const;
    int findValueRow(const QString &text, int from, const MatchOptions &options = {}) const;
    // The value of row with text replaced as the options say; nothing when it does not match.
    std::optional<QString> replacedValue(int row, const QString &text, const QString &with, const MatchOptions &options) const;
    // Replaces text in the value of one row; false when it does not match or the result breaks the
    // value rule.
    bool replaceInValue(int row, const QString &text, const QString &with, const MatchOptions &options);
    // Replaces text in every value that holds it, as one step; names stay.
    ReplaceCount replaceInValues(const QString &text, const QString &with, const MatchOptions &options = {});

    QUndoStack *history() { return &m_history; }
    const QUndoStack *history() const { return &m_history; }
    // Where the step with this serial number stands in the history; -1 when it is gone.
    int stepIndex(quint64 step) const;

signals:
    void titleChanged(const QString &title);
    void modifiedChanged(bool modified);
    // The rows a step, its undo or its redo left inserted, restored or changed, in order.
    void rowsEdited(const QList<int> &rows);

private:
    quint64 push(const QString &stepName, std::function<void()> redo, std::function<void()> undo);
    // The row after the last variable of a section (header row; -1 for the outermost rows).
    int endOfVariables(int header) const;
    // Why rows more rows of these lengths would take the file past the reader's limits; empty when they fit.
    QString roomFor(const QList<FbiRow> &rows, int depth) const;
    void insertInModel(int at, const QList<FbiRow> &rows, int depth);
    QList<FbiContent::TakenRow> takeFromModel(const QList<int> &rows);
    void restoreInModel(const QList<int> &rows, const QList<FbiContent::TakenRow> &taken);
    void changeValue(int row, const QString &value);
    void updateModified();
    int findFrom(int from, const std::function<bool(int)> &matches) const;
    // Works out overridingRow() for every row at once, after the rows changed.
    void findOverrides() const;

    int m_number;
    QString m_title;
    QString m_filePath;
    FileStamp m_stamp;
    FbiContent m_content;
    QUndoStack m_history;
    bool m_wasModified = false;
    quint64 m_lastStep = 0;
    mutable QList<int> m_overriddenBy;  // by row; empty until asked for after a change of the rows
};

// Rows as a unit file writes them, one "Name=Value;" line each with CR LF, for the clipboard.
QString unitFileLines(const QList<FbiRow> &rows);

// The name a path is shown by: the text after its last separator, or nothing when it has none.
QString fileNameOfPath(const QString &path);
