#pragma once

#include "mod/ModLoader.h"
#include "mod/TableChange.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QUndoStack>

#include <functional>
#include <optional>
#include <vector>

class Document;
class DocumentSet;

// One kind of a mod's definitions as one table, a column per variable that any of them sets.
//
// A row of the Units table is a unit file; a row of the Weapons or Features table is one top-level
// section of a weapons or features file, such as "[ARM_LASER]": one file gives as many rows as it
// has sections. The first column names the row (a unit's UnitName, or its file name where it has
// none; a definition's section name), the second its file (five units of one mod may share a
// name, never a file); the variables follow, the ones most rows set first. A variable
// of a nested section is named after its section, as "customparams.notes" in a unit or
// "damage.default" in a weapon. Keys are matched without regard to letter case or blanks around
// them, as the engines read them, and a line commented out with "//" sets no variable; where a
// section sets a key twice, the later line is the one the engines use, so it is the one shown and
// edited (duplicateKeys() lists the earlier ones).
//
// After the variables, a table can show read-only columns computed elsewhere (for units: figures of
// the weapons their slots name); they are never edited, scaled or saved.
//
// Each file is the document that the document set has for it, the same object a document window
// shows, so an edit in either place is an edit of the file. An edit made in the table is one step of
// the table's own history and one step of each file's history that it touched; undone in the table,
// it is undone in every file.
class ModTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Kind { Units, Weapons, Features };
    enum Role {
        ModifiedRole = Qt::UserRole + 1,    // the row's document has unsaved changes (first column)
        HasKeyRole,                         // the row sets the cell's key, even to an empty value
        ComputedRole,                       // the cell is one of the read-only computed columns
    };
    static constexpr int UnitColumn = 0;
    static constexpr int FileColumn = 1;
    static constexpr int FirstKeyColumn = 2;

    struct Failure
    {
        QString relativePath;
        QString reason;
    };

    struct SaveFailure
    {
        QString path;
        QString reason;     // the system's reason, when it gives one
    };

    // What a table edit did: the files it changed, the cells it left with the reason, and what
    // the value rule made of the text.
    struct EditResult
    {
        int units = 0;
        int cells = 0;
        QStringList refused;
        QString note;
    };

    // A key a section sets twice: the earlier line (which the engines do not use) and the later one.
    struct DuplicateKey
    {
        int column;
        int earlierRow;     // rows of the document
        int laterRow;
    };

    // A read-only column after the variables: its header and tooltip; its cells come from a source.
    struct ComputedColumn
    {
        QString header;
        QString toolTip;
    };
    // What the computed columns show, by table row and computed column (0 for the first of them).
    // The text stays valid until the source changes and says so through computedCellsChanged().
    class ComputedSource
    {
    public:
        virtual ~ComputedSource() = default;
        virtual QByteArrayView text(int row, int column) const = 0;
        virtual QString toolTip(int row, int column) const = 0;
    };

    explicit ModTable(DocumentSet &documents, QObject *parent = nullptr);
    ModTable(DocumentSet &documents, Kind kind, QObject *parent = nullptr);
    ~ModTable() override;

    Kind kind() const { return m_kind; }

    // Reads the folder in the background: progress() while it reads, loaded() once the table holds
    // it. A mod's root gives its files of the table's kind; a plain folder gives its unit files.
    void load(const QString &folder);
    bool isLoading() const { return m_loader.isRunning(); }
    // The files as read: the rows of each file of the table's kind read whole, a failure for each
    // other; files of other kinds are left out. A file that the document set has already is that
    // document, so no file has two documents.
    void setFiles(const QString &folder, QList<ModFile> files);
    // No rows: the reading stops, and the documents only the table held go with their changes.
    void clear();

    QString folder() const { return m_folder; }
    const QList<Failure> &failures() const { return m_failures; }

    // Rows; the names keep the word "unit" from when the table held units only.
    int unitCount() const { return int(m_rows.size()); }
    Document *document(int unit) const;
    QString path(int unit) const { return file(unit).path; }
    QString relativePath(int unit) const { return file(unit).relativePath; }
    QString fileName(int unit) const;
    // The row's name as the first column shows it: a unit's UnitName (or its file name), a
    // definition's section name.
    QString unitName(int unit) const;
    // The header row of the definition's section in its document; -1 for a unit.
    int sectionRow(int unit) const { return m_rows[size_t(unit)].header; }
    // The table's row for a document's row: the unit, or the definition whose section holds it; -1
    // when the table has none.
    int rowOfDocument(const Document *document, int documentRow) const;
    // Whether one of the table's files is the document.
    bool holds(const Document *document) const;

    // The key as most files spell it; empty for the row's name, its file and the computed columns.
    QString key(int column) const;
    // The column of a key, letter case ignored ("damage.default"); -1 when no row sets it.
    int columnOfKey(QStringView key) const;
    // The row of the row's document that the cell stands for; -1 when the row does not set the key.
    int documentRow(int unit, int column) const;
    // The row's value for the column's key, as its file holds it (or the computed text); empty
    // where it has none.
    QByteArrayView valueBytes(int unit, int column) const;
    const std::vector<DuplicateKey> &duplicateKeys(int unit) const { return m_rows[size_t(unit)].duplicates; }
    // The cells a row sets, by column: the column and the row of the document the cell stands for.
    int cellCount(int unit) const { return int(m_rows[size_t(unit)].cells.size()); }
    std::pair<int, int> cell(int unit, int index) const
    {
        const Cell &entry = m_rows[size_t(unit)].cells[size_t(index)];
        return {entry.column, entry.row};
    }

    // The computed columns, after the variables' columns, replacing any before; source (which must
    // outlive its use here) gives their cells. The same columns again keep their place in a view.
    void setComputedColumns(const QList<ComputedColumn> &columns, const ComputedSource *source);
    // The source's cells changed.
    void computedCellsChanged();
    int keyColumnCount() const { return int(m_columns.size()); }
    bool isComputed(int column) const { return column >= keyColumnCount(); }
    bool isKeyColumn(int column) const { return column >= FirstKeyColumn && column < keyColumnCount(); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Changes the value, or adds the key to the row's section when it has none. An empty text never
    // adds a key; removing keys is the document window's.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // One text for several cells (indexes of this model), as one step.
    EditResult setValues(const QModelIndexList &cells, const QString &value, const QString &stepName = {});
    // Multiplies the numbers among the cells, as one step; other cells stay as they are.
    EditResult scaleValues(const QModelIndexList &cells, double factor);

    // What setting a row's key (letter case ignored; "customparams.x" in its section) to a value
    // would do: set the value where the row has the key, add it where it has not. Refused where the
    // row has no such section, or where the value rule would cut the text.
    TableChange changeFor(int unit, const QString &key, const QString &value) const;
    // What adding the key to the row would do: as changeFor(), but refused where the row sets the
    // key already (with its value), so that Add Key never changes a value.
    TableChange additionFor(int unit, const QString &key, const QString &value) const;
    // What taking the key out of the row would do: every line of its section that sets it goes.
    // Refused where the row does not set the key.
    TableChange removalFor(int unit, const QString &key) const;
    // Makes the changes that can be made as one step, in every file they touch (which may belong
    // to other tables sharing this table's history).
    EditResult applyChanges(const QList<TableChange> &changes, const QString &stepName);

    // The table's own history: its steps span the files they touched.
    QUndoStack *history() { return m_history; }
    // Tables of one mod share one history, so that a step may span them; the history must outlive
    // the table.
    void setHistory(QUndoStack *history) { m_history = history; }
    // Why the table's step cannot be undone or redone now (a file changed since in its own window);
    // empty when it can.
    QString undoBlocker() const;
    QString redoBlocker() const;

    QList<Document *> changedDocuments() const;
    // Writes every changed file (that which() accepts, when given) to disk; returns the files that
    // could not be written.
    QList<SaveFailure> saveAll(const std::function<bool(const Document *)> &which = {});
    // Writes one changed file as Save All does: in its own layout, and not over a change made on
    // disk by another program; nothing when it was written.
    static std::optional<SaveFailure> saveDocument(DocumentSet &documents, Document *document);

signals:
    void progress(int done, int total);
    void loaded();
    // What the value rule did to a text typed into a cell.
    void valueNote(const QString &note);

private:
    struct Cell
    {
        int column;
        int row;        // in the row's document
    };
    struct File
    {
        QPointer<Document> document;
        QString path;
        QString relativePath;
        int firstRow = 0;   // its first row in the table
        int rows = 0;
    };
    struct Row
    {
        int file;
        int header = -1;    // the section's header row in the document; -1 for a unit
        std::vector<Cell> cells;    // by column
        std::vector<DuplicateKey> duplicates;
    };
    struct Column
    {
        QString name;
        int files = 0;
    };
    // One spelling of a key, as a file writes it.
    struct Spelling
    {
        int key;
        int uses = 0;
    };
    // The changes of one table step to one file.
    struct FileChange;

    const File &file(int unit) const { return m_files[size_t(m_rows[size_t(unit)].file)]; }
    void releaseFiles();
    int keyOf(QByteArrayView prefix, QByteArrayView name);
    template<typename Visit>
    void forEachKey(const Document &document, int header, Visit visit);
    // The rows a file gives: one for a unit, one per top-level section for definitions.
    void addRows(int fileIndex);
    static void sortByColumn(std::vector<Cell> &cells, std::vector<DuplicateKey> *duplicates);
    // Inside a reset of the model, new columns are not announced one by one.
    void mapCells(int unit, bool announceColumns = true);
    void watch(int fileIndex);
    void fileEdited(int fileIndex);
    QString spellingOf(int key) const;
    // Applies the changes, one step in each file and one in the table's history.
    EditResult apply(const std::vector<FileChange> &changes, const QString &stepName);
    // Where a row would add the key: the header row of its section (-1: outermost); -2 when the
    // row has no such section.
    int sectionFor(int unit, const QString &key) const;
    QString rowHeader() const;

    DocumentSet &m_documents;
    Kind m_kind = Kind::Units;
    ModLoader m_loader;
    QString m_folder;
    std::vector<File> m_files;
    std::vector<Row> m_rows;
    QList<Failure> m_failures;
    QUndoStack m_ownHistory;
    QUndoStack *m_history = &m_ownHistory;
    // Keys by number in the order first seen; columns show them by use.
    QHash<QByteArray, int> m_keyOfFolded;
    QHash<QByteArray, Spelling> m_spellings;
    QList<int> m_columnOfKey;
    QList<Column> m_columns;            // by column; the first stands for the unit column
    QList<ComputedColumn> m_computed;
    const ComputedSource *m_computedSource = nullptr;
    QByteArray m_scratch;
    QByteArray m_raw;
};
