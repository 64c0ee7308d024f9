#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// One variable of a unit: the text before the first "=" and the text after it.
struct FbiRow
{
    QString name;
    QString value;
    friend bool operator==(const FbiRow &, const FbiRow &) = default;
};

// Everything of a unit file that the editor keeps: its rows in file order, and the nested sections
// (such as "[SFXTypes]") exactly as read, which are written back unchanged.
//
// The text is kept as the file's own bytes, one byte per character, all rows in one buffer: a
// large file then reads without an allocation per row, and shows exactly what will be saved.
class FbiContent
{
public:
    qsizetype rowCount() const { return m_rows.size(); }
    QByteArrayView nameBytes(qsizetype row) const;
    QByteArrayView valueBytes(qsizetype row) const;
    QString name(qsizetype row) const;
    QString value(qsizetype row) const;
    QList<FbiRow> rows() const;

    void reserve(qsizetype rows, qsizetype textBytes);
    // A row as the file holds it.
    void appendFileRow(QByteArrayView name, QByteArrayView value);
    void appendRow(const QString &name, const QString &value);
    void insertRow(qsizetype at, const QString &name, const QString &value);
    void setValue(qsizetype row, const QString &value);
    void removeRow(qsizetype row);

    // A removed row as it was, to be put back exactly.
    class TakenRow;
    TakenRow takeRow(qsizetype row);
    void restoreRow(qsizetype at, const TakenRow &row);

    // The nested sections' lines, without their line ends.
    QList<QByteArray> preserved;

private:
    // Where a row's name and value stand in the text; 32 bits keep a large file's table small.
    struct Span
    {
        quint32 name;
        quint32 nameLength;
        quint32 value;
        quint32 valueLength;
    };
    quint32 store(QByteArrayView text);

public:
    class TakenRow
    {
        friend class FbiContent;
        Span span;
    };

private:

    // Every name and value, back to back; only the first m_textSize bytes are in use.
    QByteArray m_text;
    qsizetype m_textSize = 0;
    QList<Span> m_rows;
};

// Text as the file holds it: one byte per character; a character that has no byte becomes "?".
QByteArray toFileText(QStringView text);
QString fromFileText(QByteArrayView bytes);
