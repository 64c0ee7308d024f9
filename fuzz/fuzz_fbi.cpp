// Feeds arbitrary bytes to the unit file reader and checks what a save and a new open do with the
// result. In the standard layout: reading what was written gives the same rows and the same kept
// lines, and writing that again gives the same bytes. In the kept layout: a file saved unchanged,
// or with a row taken out and put back, is the same bytes; with one value changed, only that
// value's line differs and reading it gives the same rows but for that value. Any difference
// aborts, which libFuzzer reports with the input.
#include "documents/FbiReader.h"
#include "documents/FbiWriter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
FbiReadResult readBytes(const QByteArray &bytes)
{
    return readFbi(bytes);
}

[[noreturn]] void broken(const char *what)
{
    std::fprintf(stderr, "A save and a new open do not agree: %s\n", what);
    std::abort();
}

// The reader's limits: a row is written with a tab and a ";" more than its name, "=" and value,
// so a row from a line at the length limit cannot be read back; nor can more lines than the limit.
bool withinReaderLimits(const FbiContent &content)
{
    for (qsizetype row = 0; row < content.rowCount(); ++row) {
        if (content.nameBytes(row).size() + content.valueBytes(row).size() + 3 > Fbi::MaxLineLength)
            return false;
    }
    return content.rowCount() + content.preserved().size() + 3 <= Fbi::MaxLinesWithoutClosingBrace;
}

// A row read before the unit's "{" whose text looks like a nested section's header, such as
// "[a=b]", is a row there; the saved file puts it inside the braces, where it opens a section.
// And a row's written line may open a block comment.
bool changesMeaningInsideTheUnit(const FbiContent &content)
{
    for (qsizetype row = 0; row < content.rowCount(); ++row) {
        QByteArray scratch;
        const QByteArray text = content.nameBytes(row).toByteArray() + '=' + content.valueBytes(row).toByteArray();
        if (Fbi::isNestedSectionHeader(Fbi::normalizeLine(text, scratch)))
            return true;
        // A name that became "/*..." when the reader dropped its tabs opens a block comment there.
        if (content.nameBytes(row).trimmed().startsWith("/*"))
            return true;
    }
    return false;
}

// The part of each text that is not in the other, between their common start and end, holds no
// line end: the two differ in one line at most.
bool differInOneLine(const QByteArray &a, const QByteArray &b)
{
    qsizetype prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    auto middleHasLineEnd = [&](const QByteArray &text) {
        const QByteArray middle = text.mid(prefix, text.size() - prefix - suffix);
        return middle.contains('\n') || middle.contains('\r');
    };
    return !middleHasLineEnd(a) && !middleHasLineEnd(b);
}

void checkKeptLayout(const QByteArray &input, const FbiContent &read)
{
    if (writeFbi(read, FbiLayout::Kept) != input)
        broken("an unchanged file is saved with other bytes");
    if (read.rowCount() == 0)
        return;
    const qsizetype row = input.size() % read.rowCount();
    FbiContent content = read;
    const FbiContent::TakenRow taken = content.takeRow(row);
    content.restoreRow(row, taken);
    if (writeFbi(content, FbiLayout::Kept) != input)
        broken("a row taken out and put back is saved with other bytes");

    // A value of the old one's length keeps the line within the reader's limit, and one without
    // NUL bytes keeps the text a text.
    const QByteArrayView old = read.valueBytes(row);
    if (old.isEmpty())
        return;
    const char letter = old.startsWith('x') ? 'y' : 'x';
    content.setValue(row, QString(old.size(), QLatin1Char(letter)));
    const QByteArray written = writeFbi(content, FbiLayout::Kept);
    if (!differInOneLine(input, written))
        broken("changing one value changes more than its line");
    const FbiReadResult again = readBytes(written);
    if (again.content.rows() != content.rows())
        broken("a file with one value changed reads back with other rows");
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const FbiReadResult first = readBytes(input);
    if (first.content.hasFileText())
        checkKeptLayout(input, first.content);
    const QByteArray written = writeFbi(first.content);
    if (!withinReaderLimits(first.content) || changesMeaningInsideTheUnit(first.content))
        return 0;

    const FbiReadResult second = readBytes(written);
    // The standard layout drops skipped lines, so the NUL bytes of a file may fill enough of the
    // saved text for the reader to refuse it as not text.
    if (second.error == FbiReadResult::Error::NotText && written.contains('\0'))
        return 0;
    if (second.error != FbiReadResult::Error::None)
        broken("the saved file does not open");
    if (!second.sectionEnded)
        broken("the saved file's closing brace is not read as the unit's");
    if (second.content.rowCount() != first.content.rowCount())
        broken("the number of rows differs");
    for (qsizetype row = 0; row < first.content.rowCount(); ++row) {
        if (second.content.nameBytes(row) != first.content.nameBytes(row))
            broken("a name differs");
        if (second.content.valueBytes(row) != first.content.valueBytes(row))
            broken("a value differs");
    }
    if (second.content.preserved() != first.content.preserved())
        broken("the kept nested sections differ");
    if (writeFbi(second.content) != written)
        broken("saving again gives other bytes");
    return 0;
}
