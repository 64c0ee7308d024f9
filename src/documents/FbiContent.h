#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <utility>

// One variable of a unit: the text before the first "=" and the text after it.
struct FbiRow
{
    QString name;
    QString value;
    friend bool operator==(const FbiRow &, const FbiRow &) = default;
};

// Everything of a unit file that the editor keeps: its rows in file order and, for the standard
// layout, the nested sections (such as "[SFXTypes]") and block comments exactly as read.
//
// A content read from a file keeps the file's bytes, and a row read from it is only where its text
// starts there: the name and value are found again in the file text when asked for. A large file
// then costs little more than its own size, and each row knows the line it came from. Rows added
// or changed since hold their own text.
class FbiContent
{
public:
    // A row as takeRow removed it, for restoreRow to put back where it was.
    class TakenRow
    {
    private:
        friend class FbiContent;
        quint32 m_entry = 0;
        QByteArray m_name;
        QByteArray m_value;
        qint64 m_origin = -1;
        QByteArray m_file; // the text m_origin points into
    };

    qsizetype rowCount() const { return m_rows.size(); }
    QByteArrayView nameBytes(qsizetype row) const;
    QByteArrayView valueBytes(qsizetype row) const;
    // Name and value at once, found in one look at the file text.
    std::pair<QByteArrayView, QByteArrayView> rowBytes(qsizetype row) const;
    QString name(qsizetype row) const;
    QString value(qsizetype row) const;
    QList<FbiRow> rows() const;

    void setValue(qsizetype row, const QString &value);
    // at == rowCount() appends.
    void insertRow(qsizetype at, const QString &name, const QString &value);
    void appendRow(const QString &name, const QString &value);
    TakenRow takeRow(qsizetype row);
    // Puts a taken row back exactly, its place in the file's text included; a row taken from
    // another content comes back as an added row.
    void restoreRow(qsizetype at, const TakenRow &row);
    void removeRow(qsizetype row) { takeRow(row); }

    // Read whole and without error from a file, whose own text a save can then keep.
    bool hasFileText() const { return m_hasFileText; }

    // The nested sections' and block comments' lines in file order, without their line ends.
    const QList<QByteArray> &preserved() const { return m_preserved; }

    // The bytes this content holds on the heap, as far as it can tell.
    qsizetype memoryUsage() const;

private:
    friend class FbiScanner;
    friend class FbiKeptWriter;

    // A row with text of its own: changed, added, or read with tabs inside its name.
    struct OwnRow
    {
        QByteArray name;
        QByteArray value;
        qint64 origin = -1; // where it stands in the file text; -1 for an added row
    };
    // An entry of m_rows is the file offset where the row's name starts, or, with OwnFlag set,
    // the index of its OwnRow: four bytes a row keep a large file's table small.
    static constexpr quint32 OwnFlag = 0x80000000u;

    static bool isOwn(quint32 entry) { return entry & OwnFlag; }
    const OwnRow &own(quint32 entry) const { return m_own.at(entry & ~OwnFlag); }
    quint32 addOwn(OwnRow row);
    void releaseOwn(quint32 entry);
    qint64 originOf(quint32 entry) const;

    // Where the parts of a row of the file text stand, its name starting at offset.
    struct RowSpan
    {
        qint64 equals;
        qint64 valueBegin;
        qint64 valueEnd;
        qint64 end; // after its ";", or the end of its line's text
    };
    static RowSpan spanIn(QByteArrayView file, qint64 offset);
    QByteArrayView fileName(qint64 offset) const;
    QByteArrayView fileValue(qint64 offset) const;

    QByteArray m_file;
    bool m_hasFileText = false;
    QList<quint32> m_rows;
    QList<OwnRow> m_own;
    QList<quint32> m_freeOwn;
    // Where the file's rows that have been taken out stood, so that a save leaves their lines out.
    QList<quint32> m_taken;
    QList<QByteArray> m_preserved;
    // Of the file text, for rows added where the file has none: the line end of its first line,
    // the end of the unit's "{" line and the start of the unit's "}" line (-1: none).
    QByteArrayView m_addedLineEnd = "\r\n";
    qint64 m_openBraceLineEnd = -1;
    qint64 m_closeBraceLine = -1;
};

// How much of text can stand as a value in a unit file: everything before its first ";" or line
// break, which would end the value and make the rest of it more of the unit.
qsizetype storableLength(QStringView text);

// Text as the file holds it: one byte per character; a character that has no byte becomes "?".
QByteArray toFileText(QStringView text);
QString fromFileText(QByteArrayView bytes);
