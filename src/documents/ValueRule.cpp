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

CheckedValue checkValue(QStringView text)
{
    CheckedValue checked;
    const qsizetype storable = storableLength(text);
    QStringView kept = text.first(storable);
    qsizetype begin = 0;
    qsizetype end = kept.size();
    while (begin < end && isBlank(kept[begin]))
        ++begin;
    while (end > begin && isBlank(kept[end - 1]))
        --end;
    checked.value = kept.sliced(begin, end - begin).toString();
    if (storable < text.size())
        checked.change = CheckedValue::Change::Cut;
    else if (end - begin < kept.size())
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
