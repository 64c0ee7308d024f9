#include "documents/Numbers.h"

#include "documents/ValueRule.h"

#include <cmath>

std::optional<PlainNumber> plainNumber(QStringView text)
{
    const QStringView number = trimBlanks(text);
    qsizetype index = 0;
    if (index < number.size() && (number[index] == QLatin1Char('-') || number[index] == QLatin1Char('+')))
        ++index;
    qsizetype digits = 0;
    qsizetype point = -1;
    for (; index < number.size(); ++index) {
        if (number[index] >= QLatin1Char('0') && number[index] <= QLatin1Char('9'))
            ++digits;
        else if (number[index] == QLatin1Char('.') && point < 0)
            point = index;
        else
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return PlainNumber{value, int(point < 0 ? 0 : number.size() - point - 1)};
}

std::optional<QString> scaledNumber(QStringView value, double factor)
{
    const std::optional<PlainNumber> number = plainNumber(value);
    if (!number)
        return std::nullopt;
    const double result = number->value * factor;
    if (!std::isfinite(result))
        return std::nullopt;
    QString text = QString::number(result, 'f', number->decimals);
    // A product that rounds to nothing is written without a sign.
    if (text.startsWith(QLatin1Char('-')) && text.count(QLatin1Char('0')) + text.count(QLatin1Char('.')) == text.size() - 1)
        text.remove(0, 1);
    const QStringView trimmed = trimBlanks(value);
    const qsizetype begin = trimmed.data() - value.data();
    return value.first(begin).toString() + text + value.sliced(begin + trimmed.size()).toString();
}
