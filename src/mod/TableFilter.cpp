#include "mod/TableFilter.h"

#include "documents/Numbers.h"

#include <QRegularExpression>

namespace {
// The text split at blanks outside double quotes; the quotes go.
QStringList words(const QString &text)
{
    QStringList found;
    QString word;
    bool quoted = false;
    bool any = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if (c.isSpace() && !quoted) {
            if (any)
                found.append(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any)
        found.append(word);
    return found;
}
}

TableFilter TableFilter::parse(const QString &text)
{
    TableFilter filter;
    for (const QString &word : words(text)) {
        Term term;
        term.text = word;
        // The first of "=", ">" and "<" after a key makes a comparison; one at the start is part of a word.
        const qsizetype at = word.indexOf(QRegularExpression(QStringLiteral("[=<>]")));
        if (at > 0) {
            const QChar sign = word[at];
            const QString value = word.mid(at + 1);
            const std::optional<PlainNumber> number = plainNumber(value);
            if (sign == QLatin1Char('=')) {
                term.kind = Term::Kind::Equals;
                term.key = word.left(at).trimmed();
                term.text = value;
            } else if (number) {
                term.kind = sign == QLatin1Char('>') ? Term::Kind::Greater : Term::Kind::Less;
                term.key = word.left(at).trimmed();
                term.text = value;
                term.number = number->value;
            }
        }
        filter.m_terms.append(term);
    }
    return filter;
}

QString TableFilter::hint()
{
    return QStringLiteral("Words, key=value, key>number, key<number; all must hold. Example: side=CORE buildcostmetal>500");
}
