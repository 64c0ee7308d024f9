#pragma once

#include "mod/ModLoader.h"

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

// A whole mod as one table: a row per unit file, a column per variable that any of them sets. The
// first column names the unit (its UnitName, or its file name where it has none); the variables
// follow, the ones most files set first; a variable of a nested section is named after its section,
// as "customparams.notes". Keys are matched without regard to letter case or blanks around them, as
// the engines read them, and a line commented out with "//" sets no variable; where a file sets a
// key twice, the later line is the one the engines use, so it is the one shown and edited.
//
// Each unit is the document that the document set has for its file, the same object a document
// window shows, so an edit in either place is an edit of the file. An edit made in the table is one
// step of the table's own history and one step of each unit's history that it touched; undone in the
// table, it is undone in every unit.
class ModTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        ModifiedRole = Qt::UserRole + 1,    // the unit's document has unsaved changes (first column)
        HasKeyRole,                         // the unit sets the cell's key, even to an empty value
    };
    static constexpr int UnitColumn = 0;

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

    // What a table edit did: the units it changed, the cells it left with the reason, and what
    // the value rule made of the text.
    struct EditResult
    {
        int units = 0;
        int cells = 0;
        QStringList refused;
        QString note;
    };

    explicit ModTable(DocumentSet &documents, QObject *parent = nullptr);
    ~ModTable() override;

    // Reads the folder in the background: progress() while it reads, loaded() once the table holds it.
    void load(const QString &folder);
    bool isLoading() const { return m_loader.isRunning(); }
    // The files as read: a unit for each file read whole, a failure for each other. A file that the
    // document set has already is that document, so no file has two documents.
    void setFiles(const QString &folder, QList<UnitFile> files);
    // No units: the reading stops, and the documents only the table held go with their changes.
    void clear();

    QString folder() const { return m_folder; }
    const QList<Failure> &failures() const { return m_failures; }

    int unitCount() const { return int(m_units.size()); }
    Document *document(int unit) const;
    QString path(int unit) const { return m_units[size_t(unit)].path; }
    QString relativePath(int unit) const { return m_units[size_t(unit)].relativePath; }
    QString fileName(int unit) const { return m_units[size_t(unit)].fileName; }
    QString unitName(int unit) const;
    // The key as most files spell it; empty for the first column.
    QString key(int column) const;
    // The unit's value for the column's key, as its file holds it; empty where it has none.
    QByteArrayView valueBytes(int unit, int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Changes the value, or adds the key to the unit when it has none. An empty text never adds a
    // key; removing keys is the document window's.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // One text for several cells (indexes of this model), as one step.
    EditResult setValues(const QModelIndexList &cells, const QString &value, const QString &stepName = {});
    // Multiplies the numbers among the cells, as one step; other cells stay as they are.
    EditResult scaleValues(const QModelIndexList &cells, double factor);

    // The table's own history: its steps span the units they touched.
    QUndoStack *history() { return &m_history; }
    // Why the table's step cannot be undone or redone now (a unit changed since in its own window);
    // empty when it can.
    QString undoBlocker() const;
    QString redoBlocker() const;

    QList<Document *> changedDocuments() const;
    // Writes every changed unit (that which() accepts, when given) to its file; returns the files
    // that could not be written.
    QList<SaveFailure> saveAll(const std::function<bool(const Document *)> &which = {});

signals:
    void progress(int done, int total);
    void loaded();
    // What the value rule did to a text typed into a cell.
    void valueNote(const QString &note);

private:
    struct Cell
    {
        int column;
        int row;        // in the unit's document
    };
    struct Unit
    {
        QPointer<Document> document;
        QString path;
        QString relativePath;
        QString fileName;
        std::vector<Cell> cells;    // by column
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
    // The changes of one table step to one unit.
    struct UnitChange;

    void releaseUnits();
    int keyOf(QByteArrayView prefix, QByteArrayView name);
    template<typename Visit>
    void forEachKey(const Document &document, Visit visit);
    static void sortByColumn(std::vector<Cell> &cells);
    void mapCells(int unit);
    int rowOf(int unit, int column) const;
    void watch(int unit);
    void unitEdited(int unit);
    QString spellingOf(int key) const;
    // Applies the changes, one step in each unit and one in the table's history.
    EditResult apply(const std::vector<UnitChange> &changes, const QString &stepName);
    // Where a unit would add the column's key: the header row of its section (-1: outermost); -2
    // when the unit has no such section.
    int sectionFor(int unit, int column) const;

    DocumentSet &m_documents;
    ModLoader m_loader;
    QString m_folder;
    std::vector<Unit> m_units;
    QList<Failure> m_failures;
    QUndoStack m_history;
    // Keys by number in the order first seen; columns show them by use.
    QHash<QByteArray, int> m_keyOfFolded;
    QHash<QByteArray, Spelling> m_spellings;
    QList<int> m_columnOfKey;
    QList<Column> m_columns;            // by column; the first stands for the unit column
    QByteArray m_scratch;
    QByteArray m_raw;
};
