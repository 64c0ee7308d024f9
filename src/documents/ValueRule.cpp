#include "documents/ValueRule.h"

namespace {
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
}

qsizetype storableLength(QStringView text)
{
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar c = text[index];
        if (c == QLatin1Char(';') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return index;
    }
    return text.size();
}

QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

CheckedValue checkValue(QStringView text)
{
    CheckedValue checked;
    const qsizetype storable = storableLength(text);
    const QStringView kept = text.first(storable);
    const QStringView trimmed = trimBlanks(kept);
    checked.value = trimmed.toString();
    if (storable < text.size())
        checked.change = CheckedValue::Change::Cut;
    else if (trimmed.size() < kept.size())
        checked.change = CheckedValue::Change::Trimmed;
    return checked;
}

QString valueRuleNote(CheckedValue::Change change)
{
    switch (change) {
    case CheckedValue::Change::Cut:
        return QStringLiteral("A value cannot hold \";\" or a line break.");
    case CheckedValue::Change::Trimmed:
        return QStringLiteral("Blanks and tabs at the ends of a value are left out.");
    case CheckedValue::Change::None:
        break;
    }
    return {};
}
