#pragma once

#include "documents/ModLoader.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>

#include <optional>
#include <vector>

class Document;
class DocumentSet;

// A whole mod as one table: a row per unit file, a column per variable that any of them sets. The
// first column names the unit (its UnitName, or its file name where it has none); the variables
// follow, the ones most files set first. Keys are matched without regard to letter case or blanks
// around them, as the game reads them, and a line commented out with "//" sets no variable; where a
// file sets a key twice, the later line is the one the game uses, so it is the one shown and edited.
//
// Each unit is a Document, the same object a document window shows, so an edit in either place is
// an edit of the file and a step of that unit's own history.
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

    explicit ModTable(DocumentSet &documents, QObject *parent = nullptr);
    ~ModTable() override;

    // Reads the folder in the background: progress() while it reads, loaded() once the table holds it.
    void load(const QString &folder);
    bool isLoading() const { return m_loader.isRunning(); }
    // The files as read: a unit for each file read whole, a failure for each other. A file that an
    // open document stands for is that document, so no file has two documents.
    void setFiles(const QString &folder, QList<UnitFile> files);
    // No units: the reading stops, and the documents only the table holds go with their changes.
    void clear();

    QString folder() const { return m_folder; }
    const QList<Failure> &failures() const { return m_failures; }

    int unitCount() const { return int(m_units.size()); }
    Document *document(int unit) const;
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
    // Changes the value, or adds the key at the end of the unit when it has none. An empty text
    // never adds a key; removing keys is the document window's.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // One text for several cells (indexes of this model); each unit's cells change in one step of
    // its history. Returns the number of units changed.
    int setValues(const QModelIndexList &cells, const QString &value);
    // Multiplies the numbers among the cells, one step per unit; other cells stay as they are.
    // Returns the number of cells changed.
    int scaleValues(const QModelIndexList &cells, double factor);
    // value times factor, rounded to as many decimals as value has; nothing when value is not a
    // plain decimal number. Blanks around the number stay.
    static std::optional<QString> scaledValue(QStringView value, double factor);
    // A value holds no ";" and no line break: the text is cut at the first of them.
    static QString acceptableValue(const QString &text);

    QList<Document *> changedDocuments() const;
    // Writes every changed unit to its file; returns the files that could not be written.
    QList<SaveFailure> saveAll();

signals:
    void progress(int done, int total);
    void loaded();

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

    void releaseUnits();
    int keyOf(QByteArrayView name);
    static void sortByColumn(std::vector<Cell> &cells);
    void mapCells(int unit);
    int rowOf(int unit, int column) const;
    void watch(int unit);
    void unitEdited(int unit);
    void documentDestroyed(int unit);
    Document *makeDocument(const QString &path, FbiReadResult read);

    DocumentSet &m_documents;
    ModLoader m_loader;
    QString m_folder;
    std::vector<Unit> m_units;
    QList<Failure> m_failures;
    // Keys by number in the order first seen; columns show them by use.
    QHash<QByteArray, int> m_keyOfFolded;
    QHash<QByteArray, Spelling> m_spellings;
    QList<int> m_columnOfKey;
    QList<Column> m_columns;            // by column; the first stands for the unit column
    int m_unitNameColumn = -1;
    QByteArray m_scratch;
};
