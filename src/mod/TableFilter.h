#pragma once

#include <QList>
#include <QString>

// What the table's filter box asks for, read from its text: terms parted by blanks, all of which a
// row must meet, letter case ignored.
//   word          the unit's name, its file's name or a shown value holds the word
//   key=value     the row's value of key is value (a key the table has no column for: no row)
//   key>number    the row's value of key is a number greater than number; key<number likewise
// A term in double quotes keeps its blanks: name="Big Tank".
class TableFilter
{
public:
    struct Term
    {
        enum class Kind { Word, Equals, Greater, Less };
        Kind kind = Kind::Word;
        QString key;
        QString text;
        double number = 0;
    };

    static TableFilter parse(const QString &text);

    bool isEmpty() const { return m_terms.isEmpty(); }
    const QList<Term> &terms() const { return m_terms; }

    // The forms, for a hint under the field.
    static QString hint();

private:
    QList<Term> m_terms;
};
