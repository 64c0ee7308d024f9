#include "help/VariableHelp.h"

#include <algorithm>
#include <array>
#include <bit>
#include <iterator>
#include <string_view>

namespace Help {

const QLatin1String CommentedOutHelpText(
    "This variable is commented out, therefore ignored when run within TA. ");
const QLatin1String DefaultHelpText(
    "No help available for the selected variable. Variable may spelled incorrectly.");

namespace {

struct HelpEntry {
    std::string_view key;
    ValueType type;
    std::string_view reads;  // one letter for each engine, in the order of engineOrder
    std::string_view text;
};

struct HelpFamily {
    std::string_view prefix;
    int firstSlot;
    int lastSlot;
    ValueType type;
    std::string_view reads;
    std::string_view text;
};

using enum ValueType;
#include "help/HelpTexts.inc"

constexpr std::array<Engine, 4> engineOrder{Engine::OriginalGame, Engine::Ta3d, Engine::Spring, Engine::Rwe};

// Help Topics and the Add list show the numbered keys up to this slot; past it real files use them
// rarely, and the help still answers for every slot an engine reads.
constexpr int ListedSlots = 6;

constexpr char16_t codeUnit(char c)
{
    return char16_t(uchar(c));
}

constexpr char16_t codeUnit(QChar c)
{
    return c.unicode();
}

// The keys are ASCII, and the engines fold A to Z only: a name with another letter that Unicode folds
// to an ASCII one (U+017F to "s") is no key to them.
constexpr char16_t foldedAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

template<typename Left, typename Right>
constexpr int compareIgnoringCase(const Left &left, const Right &right)
{
    const auto leftSize = qsizetype(left.size());
    const auto rightSize = qsizetype(right.size());
    for (qsizetype i = 0; i < std::min(leftSize, rightSize); ++i) {
        const char16_t a = foldedAscii(codeUnit(left.data()[i]));
        const char16_t b = foldedAscii(codeUnit(right.data()[i]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (leftSize == rightSize)
        return 0;
    return leftSize < rightSize ? -1 : 1;
}

constexpr bool isReading(char c)
{
    return std::string_view("fwdn3t*-").find(c) != std::string_view::npos;
}

// A reading fits the type the user is shown: a flag is read as a flag, text as text, and so on.
constexpr bool readingsFit(ValueType type, std::string_view reads)
{
    if (reads.size() != engineOrder.size())
        return false;
    for (const char c : reads) {
        if (!isReading(c))
            return false;
        bool fits = c == '-' || c == '*';
        switch (type) {
        case Flag:
            fits = fits || c == 'f';
            break;
        case WholeNumber:
        case Decimal:
            fits = fits || c == 'w' || c == 'd' || c == 'n' || c == 'f';
            break;
        case ThreeNumbers:
            fits = fits || c == '3';
            break;
        case Text:
        case Name:
        case CategoryList:
            fits = c == '-' || c == 't';
            break;
        case Unknown:
            return false;
        }
        if (!fits)
            return false;
    }
    return true;
}

// Strictly ascending also means that no two keys differ only in letter case.
constexpr bool tableIsSound()
{
    for (std::size_t i = 0; i < std::size(helpTable); ++i) {
        if (i > 0 && compareIgnoringCase(helpTable[i - 1].key, helpTable[i].key) >= 0)
            return false;
        if (!readingsFit(helpTable[i].type, helpTable[i].reads))
            return false;
    }
    for (const HelpFamily &family : familyTable) {
        if (family.firstSlot < 1 || family.firstSlot > family.lastSlot || family.lastSlot > 99
            || !readingsFit(family.type, family.reads))
            return false;
    }
    return true;
}
static_assert(tableIsSound(), "the help rows stand in alphabetical order, each key once ignoring letter "
                              "case, and each reading fits its type");

// What the help knows of one name: an exact row, or a family and the slot number.
struct Found {
    const HelpEntry *entry = nullptr;
    const HelpFamily *family = nullptr;
    int slot = 0;

    explicit operator bool() const { return entry || family; }
    ValueType type() const { return entry ? entry->type : family ? family->type : Unknown; }
    std::string_view reads() const { return entry ? entry->reads : family ? family->reads : "----"; }
};

QString latin1(std::string_view text)
{
    return QLatin1String(text.data(), qsizetype(text.size())).toString();
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

Found lookUp(QStringView name)
{
    const auto exact = std::lower_bound(std::begin(helpTable), std::end(helpTable), name,
                                        [](const HelpEntry &entry, QStringView wanted) {
                                            return compareIgnoringCase(entry.key, wanted) < 0;
                                        });
    if (exact != std::end(helpTable) && compareIgnoringCase(exact->key, name) == 0)
        return {exact, nullptr, 0};

    // A slot is written as the engines build the key: the number without leading zeros.
    qsizetype digits = 0;
    while (digits < name.size() && isDigit(name[name.size() - 1 - digits]))
        ++digits;
    if (digits == 0 || digits > 2 || name[name.size() - digits] == u'0')
        return {};
    const QStringView prefix = name.first(name.size() - digits);
    const int slot = name.last(digits).toInt();
    for (const HelpFamily &family : familyTable) {
        if (compareIgnoringCase(family.prefix, prefix) == 0 && slot >= family.firstSlot && slot <= family.lastSlot)
            return {nullptr, &family, slot};
    }
    return {};
}

QString familyText(const HelpFamily &family, int slot)
{
    return latin1(family.text)
        .replace(QLatin1String("{n+1}"), QString::number(slot + 1))
        .replace(QLatin1String("{n}"), QString::number(slot));
}

QString familyKey(const HelpFamily &family, int slot)
{
    return latin1(family.prefix) + QString::number(slot);
}

bool lessIgnoringCase(const QString &left, const QString &right)
{
    return compareIgnoringCase(left, right) < 0;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView withoutBlanksAround(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// A number as written: digits with an optional sign and one optional decimal point, as in "0.5",
// ".5" or "5.".
struct Number {
    bool valid = false;
    bool fraction = false;  // digits other than 0 after the point
    QString whole;          // the number with its fraction dropped, as an engine that truncates reads it
};

Number readNumber(QStringView text)
{
    Number number;
    QStringView sign;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        sign = text.first(1);
        text = text.sliced(1);
    }
    const qsizetype point = text.indexOf(u'.');
    const QStringView integral = point < 0 ? text : text.first(point);
    const QStringView fraction = point < 0 ? QStringView() : text.sliced(point + 1);
    if (integral.isEmpty() && fraction.isEmpty())
        return number;
    if (!std::all_of(integral.begin(), integral.end(), isDigit) || !std::all_of(fraction.begin(), fraction.end(), isDigit))
        return number;
    number.valid = true;
    number.fraction = std::any_of(fraction.begin(), fraction.end(), [](QChar c) { return c != u'0'; });
    QStringView digits = integral;
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.sliced(1);
    const bool zero = digits.isEmpty() || digits == u"0";
    number.whole = zero ? QStringLiteral("0") : (sign == u"-" ? QStringLiteral("-") : QString()) + digits.toString();
    return number;
}

QList<QStringView> blankSeparated(QStringView text)
{
    QList<QStringView> words;
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        qsizetype end = i;
        while (end < text.size() && !isBlank(text[end]))
            ++end;
        if (end > i)
            words.append(text.sliced(i, end - i));
        i = end;
    }
    return words;
}

// The engines whose reading of the key is one of the letters given.
Engines engines(std::string_view reads, std::string_view letters)
{
    Engines found;
    for (std::size_t i = 0; i < engineOrder.size(); ++i) {
        if (letters.find(reads[i]) != std::string_view::npos)
            found |= engineOrder[i];
    }
    return found;
}

// "The original game reads" or "TA3D and Spring read": the engines as the subject of a sentence.
QString subject(Engines which, const char *verb)
{
    const bool one = std::popcount(unsigned(which.toInt())) == 1;
    return engineNames(which) + u' ' + QLatin1String(verb) + (one ? QStringLiteral("s") : QString());
}

QString quoted(QStringView value)
{
    return u'"' + value.toString() + u'"';
}

void addNote(QList<ValueNote> &notes, Engines which, const QString &message)
{
    if (which)
        notes.append({ValueNote::Kind::Misread, which, message});
}

void numberNotes(QList<ValueNote> &notes, std::string_view reads, QStringView value)
{
    const Number number = readNumber(value);
    const Engines numberReaders = engines(reads, "wdnf*");
    if (!number.valid) {
        addNote(notes, numberReaders,
                value.isEmpty() ? subject(numberReaders, "read") + QStringLiteral(" a number here, and the value is empty.")
                                : subject(numberReaders, "read") + QStringLiteral(" a number here, and ") + quoted(value)
                                      + QStringLiteral(" is not one."));
        return;
    }
    if (!number.fraction)
        return;
    // TA3D reads TidalGenerator as a flag: a fraction is no value it knows.
    const Engines asFlag = engines(reads, "f");
    addNote(notes, asFlag,
            subject(asFlag, "read") + QStringLiteral(" this key as a flag, 0 or 1, and not ") + value.toString()
                + QStringLiteral(" as written."));
    const Engines truncating = engines(reads, "w");
    addNote(notes, truncating,
            subject(truncating, "read") + QStringLiteral(" a whole number: ") + value.toString() + QStringLiteral(" becomes ")
                + number.whole + u'.');
    const Engines strict = engines(reads, "d");
    addNote(notes, strict,
            subject(strict, "read") + QStringLiteral(" a whole number: ") + value.toString()
                + (std::popcount(unsigned(strict.toInt())) == 1 ? QStringLiteral(" becomes its default.")
                                                                 : QStringLiteral(" becomes their default.")));
}

void flagNotes(QList<ValueNote> &notes, std::string_view reads, QStringView value)
{
    const Engines flagReaders = engines(reads, "f");
    const Engines unknownForm = engines(reads, "*");
    const Number number = readNumber(value);
    const bool isTrue = value.compare(u"true", Qt::CaseInsensitive) == 0;
    const bool isFalse = value.compare(u"false", Qt::CaseInsensitive) == 0;
    if (isTrue || isFalse) {
        // TA3D and Spring take the words; the original game and RWE read a number, which false
        // still gives as 0 in the original game.
        const Engines numbersOnly = engines(reads, "f*") & (isTrue ? Engine::OriginalGame | Engine::Rwe : Engines(Engine::Rwe));
        addNote(notes, numbersOnly,
                subject(numbersOnly, "read") + QStringLiteral(" only a number here: write ")
                    + (isTrue ? QStringLiteral("1 instead of true.") : QStringLiteral("0 instead of false.")));
        return;
    }
    if (!number.valid) {
        const Engines all = flagReaders | unknownForm;
        addNote(notes, all,
                subject(all, "read") + QStringLiteral(" 0 or 1 here, and ")
                    + (value.isEmpty() ? QStringLiteral("the value is empty.") : quoted(value) + QStringLiteral(" is neither.")));
        return;
    }
    if (number.fraction) {
        addNote(notes, flagReaders,
                subject(flagReaders, "read") + QStringLiteral(" 0 or 1 here and do not agree on ") + value.toString()
                    + QStringLiteral(": write 0 or 1."));
        return;
    }
    // A whole number: every engine but the original game takes anything but 0 as on; the original
    // game keeps the lowest bit only.
    const QChar last = number.whole.back();
    const bool even = (last.unicode() - u'0') % 2 == 0;
    if (even && number.whole != u"0") {
        const Engines lowestBit = flagReaders & Engine::OriginalGame;
        addNote(notes, lowestBit,
                QStringLiteral("The original game keeps only the lowest bit: ") + value.toString()
                    + QStringLiteral(" counts as off there, and as on elsewhere."));
    }
}

void threeNumberNotes(QList<ValueNote> &notes, std::string_view reads, QStringView value)
{
    const QList<QStringView> words = blankSeparated(value);
    const bool firstThree = words.size() >= 3
        && std::all_of(words.begin(), words.begin() + 3, [](QStringView word) { return readNumber(word).valid; });
    const Engines readers = engines(reads, "3*");
    if (!firstThree) {
        addNote(notes, readers,
                subject(readers, "read") + QStringLiteral(" three numbers separated by blanks here, and ")
                    + (value.isEmpty() ? QStringLiteral("the value is empty.") : quoted(value) + QStringLiteral(" is not that.")));
        return;
    }
    if (words.size() == 3)
        return;
    // Spring reads the value with "%f %f %f" and stops there; TA3D wants exactly three.
    const Engines spring = engines(reads, "3") & Engine::Spring;
    addNote(notes, spring, QStringLiteral("Spring reads the first three numbers and ignores the rest."));
    const Engines ta3d = engines(reads, "3") & Engine::Ta3d;
    addNote(notes, ta3d, QStringLiteral("TA3D reads exactly three numbers here."));
}

} // namespace

QString variableHelpText(QStringView name)
{
    // A commented-out line is ignored by the game, whatever the name after "//".
    if (name.startsWith(u"//"))
        return QString(CommentedOutHelpText);
    const Found found = lookUp(name);
    if (found.entry)
        return latin1(found.entry->text);
    if (found.family)
        return familyText(*found.family, found.slot);
    return QString(DefaultHelpText);
}

QString overriddenHelpText(QStringView name, qsizetype laterRow)
{
    return QStringLiteral("Row %1 sets this variable again, and TA3D, Spring and RWE use that later row: this "
                          "one has no effect there.\r\n\r\n")
               .arg(laterRow)
        + variableHelpText(name);
}

QStringList keysWithHelp()
{
    QStringList keys;
    for (const HelpEntry &entry : helpTable)
        keys.append(latin1(entry.key));
    for (const HelpFamily &family : familyTable) {
        for (int slot = family.firstSlot; slot <= std::min(family.lastSlot, ListedSlots); ++slot)
            keys.append(familyKey(family, slot));
    }
    std::sort(keys.begin(), keys.end(), lessIgnoringCase);
    return keys;
}

QStringList addList(const QStringList &knownNames)
{
    // The file's names first, so that a stable sort keeps its spelling ahead of the help's.
    QStringList names;
    for (const QString &name : knownNames) {
        if (!name.isEmpty())
            names.append(name);
    }
    names += keysWithHelp();
    std::stable_sort(names.begin(), names.end(), lessIgnoringCase);
    const auto end = std::unique(names.begin(), names.end(),
                                 [](const QString &a, const QString &b) { return compareIgnoringCase(a, b) == 0; });
    names.erase(end, names.end());
    return names;
}

ValueType valueType(QStringView name)
{
    return lookUp(name).type();
}

Engines readers(QStringView name)
{
    return engines(lookUp(name).reads(), "fwdn3t*");
}

QString valueTypeText(ValueType type)
{
    switch (type) {
    case ValueType::Unknown:
        return QString();
    case ValueType::Flag:
        return QStringLiteral("Type: 0 or 1");
    case ValueType::WholeNumber:
        return QStringLiteral("Type: whole number");
    case ValueType::Decimal:
        return QStringLiteral("Type: number, fractions allowed");
    case ValueType::ThreeNumbers:
        return QStringLiteral("Type: three numbers separated by blanks");
    case ValueType::Text:
        return QStringLiteral("Type: text");
    case ValueType::Name:
        return QStringLiteral("Type: name");
    case ValueType::CategoryList:
        return QStringLiteral("Type: category names separated by blanks");
    }
    return QString();
}

QList<ValueNote> valueNotes(QStringView name, QStringView value)
{
    QList<ValueNote> notes;
    if (isPlaceholder(value)) {
        notes.append({ValueNote::Kind::Placeholder, readers(name),
                      QStringLiteral("Not set yet: \"") + placeholderValue()
                          + QStringLiteral("\" is what a new row holds until its value is typed in.")});
        return notes;
    }
    if (name.startsWith(u"//"))
        return notes;
    const Found found = lookUp(name);
    const QStringView text = withoutBlanksAround(value);
    switch (found.type()) {
    case ValueType::Flag:
        flagNotes(notes, found.reads(), text);
        break;
    case ValueType::WholeNumber:
    case ValueType::Decimal:
        numberNotes(notes, found.reads(), text);
        break;
    case ValueType::ThreeNumbers:
        threeNumberNotes(notes, found.reads(), text);
        break;
    case ValueType::Unknown:
    case ValueType::Text:
    case ValueType::Name:
    case ValueType::CategoryList:
        break;
    }
    return notes;
}

QList<ValueNote> valueNotes(QStringView name, QStringView value, Engines engines)
{
    QList<ValueNote> notes = valueNotes(name, value);
    notes.removeIf([engines](const ValueNote &note) {
        return note.kind == ValueNote::Kind::Misread && !(note.engines & engines);
    });
    return notes;
}

QString valueHint(QStringView name, QStringView value)
{
    QStringList messages;
    for (const ValueNote &note : valueNotes(name, value))
        messages.append(note.message);
    return messages.join(u' ');
}

QString engineNames(Engines which)
{
    QStringList names;
    for (const Engine engine : engineOrder) {
        if (!which.testFlag(engine))
            continue;
        switch (engine) {
        case Engine::OriginalGame:
            names.append(names.isEmpty() ? QStringLiteral("The original game") : QStringLiteral("the original game"));
            break;
        case Engine::Ta3d:
            names.append(QStringLiteral("TA3D"));
            break;
        case Engine::Spring:
            names.append(QStringLiteral("Spring"));
            break;
        case Engine::Rwe:
            names.append(QStringLiteral("RWE"));
            break;
        }
    }
    if (names.size() < 2)
        return names.join(QString());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

QString placeholderValue()
{
    return QStringLiteral("Change This");
}

bool isPlaceholder(QStringView value)
{
    return withoutBlanksAround(value).compare(placeholderValue(), Qt::CaseInsensitive) == 0;
}

} // namespace Help
