#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The one rule for what counts as a number in a value, for sorting, scaling and comparing: an
// optional sign, digits and at most one point, with at least one digit; blanks around it are
// allowed. "1e3", "0x10" and "12abc" are text, as no engine reads them the same way.
struct PlainNumber
{
    double value = 0;
    int decimals = 0;   // digits after the point, as written
};

std::optional<PlainNumber> plainNumber(QStringView text);

// value times factor, rounded to as many decimals as value has; nothing when value is not a plain
// number or the product is not finite. Blanks around the number stay.
std::optional<QString> scaledNumber(QStringView value, double factor);
