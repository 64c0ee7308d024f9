#pragma once

#include "documents/FbiSyntax.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <utility>

// One row of a definition file: a variable (the text before its first "=" and the text after it),
// or the header of a section, such as "[DAMAGE]", whose rows follow it one level deeper.
struct FbiRow
{
    QString name;
    QString value;
    bool section = false;
    int depth = 0;
    friend bool operator==(const FbiRow &, const FbiRow &) = default;
};

// What a file was read as. A unit file holds one section, the unit's own, whose header is not a
// row and whose variables stand at depth 0; a file of definitions (weapons, features) holds any
// number of sections, each a header row at depth 0 with its variables at depth 1.
enum class FbiKind { Unit, Definitions };

// Everything of a definition file that the editor keeps: its rows in file order, the sections they
// stand in, and, for the standard layout, the block comments exactly as read.
//
// A content read from a file keeps the file's bytes, and a row read from it is only where its text
// starts there: the name and value are found again in the file text when asked for. A large file
// then costs little more than its own size, and each row knows the line it came from. Rows added
// or changed since hold their own text.
class FbiContent
{
public:
    // Rows as takeRows removed them, for restoreRows to put back where they were.
    class TakenRow
    {
    private:
        friend class FbiContent;
        quint32 m_entry = 0;
        quint16 m_depth = 0;
        QByteArray m_name;
        QByteArray m_value;
        qint64 m_origin = -1;
        QByteArray m_file; // the text m_origin points into
    };

    FbiKind kind() const { return m_kind; }
    qsizetype rowCount() const { return m_rows.size(); }

    bool isSection(qsizetype row) const;
    int depth(qsizetype row) const { return m_depth.isEmpty() ? 0 : m_depth.at(row); }
    bool hasSections() const { return !m_sections.isEmpty(); }
    // The header row of the section a row stands in; -1 for the outermost rows.
    qsizetype sectionOf(qsizetype row) const;
    // The row after a section's last row: the next row no deeper than its header.
    qsizetype sectionEnd(qsizetype header) const;
    // The depth a variable inserted at a place takes: that of the row before it, or one more when
    // that row is a section's header.
    int depthAt(qsizetype at) const;

    // A section's name is the text between its brackets; its value is empty.
    QByteArrayView nameBytes(qsizetype row) const;
    QByteArrayView valueBytes(qsizetype row) const;
    // Name and value at once, found in one look at the file text.
    std::pair<QByteArrayView, QByteArrayView> rowBytes(qsizetype row) const;
    QString name(qsizetype row) const;
    QString value(qsizetype row) const;
    FbiRow row(qsizetype row) const;
    QList<FbiRow> rows() const;

    // Only a variable has a value to set.
    void setValue(qsizetype row, const QString &value);
    // Variables at a place, all at the given depth; at == rowCount() appends.
    void insertRows(qsizetype at, const QList<FbiRow> &rows, int depth);
    void insertRow(qsizetype at, const QString &name, const QString &value) { insertRows(at, {FbiRow{name, value}}, depthAt(at)); }
    void appendRow(const QString &name, const QString &value) { insertRows(rowCount(), {FbiRow{name, value}}, 0); }
    // Takes variables out, rows given in ascending order; a section's header stays.
    QList<TakenRow> takeRows(const QList<qsizetype> &rows);
    // Puts taken rows back exactly, at the places they had (ascending), their place in the file's
    // text included; a row taken from another content comes back as an added row.
    void restoreRows(const QList<qsizetype> &rows, const QList<TakenRow> &taken);
    TakenRow takeRow(qsizetype row) { return takeRows({row}).value(0); }
    void restoreRow(qsizetype at, const TakenRow &row) { restoreRows({at}, {row}); }

    // Whether a variable read from the file text ends its value with ";" there. A row added since
    // has one when written, and a section's header has no value: both count as ending so.
    bool endsWithSemicolon(qsizetype row) const;

    // The line of the file text each row starts on, counted from 1; 0 for a row added since. One
    // pass over the text for all rows.
    QList<qsizetype> lineNumbers() const;

    // Read whole and without error from a file, whose own text a save can then keep.
    bool hasFileText() const { return m_hasFileText; }
    // The block comments' lines in file order, without their line ends.
    const QList<QByteArray> &preserved() const { return m_preserved; }

    // The most lines the file could have when written now in either layout, up to the line that
    // ends its reading; the reader opens no more than Fbi::MaxLinesWithoutClosingBrace of them.
    qsizetype linesNeeded() const;
    // The length of the longest line a row would take when written: a little more than its text.
    static qsizetype lineLength(QByteArrayView name, QByteArrayView value, int depth);

    // The bytes this content holds on the heap, as far as it can tell.
    qsizetype memoryUsage() const;

private:
    friend class FbiScanner;
    friend class FbiKeptWriter;

    // A row with text of its own: changed, added, read with tabs inside its name, or a section.
    struct OwnRow
    {
        QByteArray name;
        QByteArray value;
        qint64 origin = -1;  // where it stands in the file text; -1 for an added row
        qint32 section = -1; // for a section's header, its entry in m_sections
    };
    // Where a section's header and braces stand in the file text (-1: nowhere).
    struct Section
    {
        qint64 openLineEnd = -1;    // the end of the line with its "{"
        qint64 closeLine = -1;      // the start of the line with its "}"
        qint64 closeLineEnd = -1;
    };
    // An entry of m_rows is the file offset where the row's name starts, or, with OwnFlag set,
    // the index of its OwnRow: four bytes a row keep a large file's table small.
    static constexpr quint32 OwnFlag = 0x80000000u;

    static bool isOwn(quint32 entry) { return entry & OwnFlag; }
    const OwnRow &own(quint32 entry) const { return m_own.at(entry & ~OwnFlag); }
    quint32 addOwn(OwnRow row);
    void releaseOwn(quint32 entry);
    qint64 originOf(quint32 entry) const;
    // Depths are kept once a row stands deeper than 0.
    void keepDepths();
    void setDepth(qsizetype row, int depth);

    FbiKind m_kind = FbiKind::Unit;
    QByteArray m_file;
    bool m_hasFileText = false;
    QList<quint32> m_rows;
    QList<quint16> m_depth; // by row; empty while every row stands at depth 0
    QList<OwnRow> m_own;
    QList<quint32> m_freeOwn;
    QList<Section> m_sections;
    // Where the file's rows that have been taken out stood, so that a save leaves their lines out.
    QList<quint32> m_taken;
    QList<QByteArray> m_preserved;
    // Of the file text, for rows added where the file has none: the line end of its first line,
    // the end of the unit's "{" line and the start of the unit's "}" line (-1: none).
    QByteArrayView m_addedLineEnd = "\r\n";
    qint64 m_openBraceLineEnd = -1;
    qint64 m_closeBraceLine = -1;
    // The lines of the file text up to the one that ended its reading.
    qsizetype m_fileLines = 0;
};

// Text as the file holds it: one byte per character; a character that has no byte becomes "?".
QByteArray toFileText(QStringView text);
QString fromFileText(QByteArrayView bytes);
