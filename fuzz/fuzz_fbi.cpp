// Feeds arbitrary bytes to the reader, as a unit file and as a file of definitions, and checks what a
// save and a new open do with the result. In the standard layout: a text is written only when it
// reads back as the same rows, sections and block comments, and writing that again gives the same
// bytes. In the kept layout: a file saved unchanged, or with a row taken out and put back, is the
// same bytes; with one value changed, it is written or refused, and when written only that value's
// line differs and it reads back as the changed rows. Any difference aborts, which libFuzzer reports
// with the input.
#include "documents/FbiReader.h"
#include "documents/FbiWriter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void broken(const char *what)
{
    std::fprintf(stderr, "A save and a new open do not agree: %s\n", what);
    std::abort();
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
    const FbiText unchanged = writeFbi(read, FbiLayout::Kept);
    if (!unchanged.ok || unchanged.text != input)
        broken("an unchanged file is saved with other bytes");
    QList<qsizetype> variables;
    for (qsizetype row = 0; row < read.rowCount(); ++row) {
        if (!read.isSection(row))
            variables.append(row);
    }
    if (variables.isEmpty())
        return;
    const qsizetype row = variables[input.size() % variables.size()];
    FbiContent content = read;
    const FbiContent::TakenRow taken = content.takeRow(row);
    content.restoreRow(row, taken);
    if (writeFbi(content, FbiLayout::Kept).text != input)
        broken("a row taken out and put back is saved with other bytes");

    // A value of the old one's length keeps the line within the reader's limit, and one without
    // NUL bytes keeps the text a text.
    const QByteArrayView old = read.valueBytes(row);
    if (old.isEmpty())
        return;
    const char letter = old.startsWith('x') ? 'y' : 'x';
    content.setValue(row, QString(old.size(), QLatin1Char(letter)));
    const FbiText written = writeFbi(content, FbiLayout::Kept);
    if (!written.ok)
        return; // refused, with its reason: the file stays as it was
    if (!differInOneLine(input, written.text))
        broken("changing one value changes more than its line");
    if (readFbi(written.text, read.kind()).content.rows() != content.rows())
        broken("a file with one value changed reads back with other rows");
}

void checkStandardLayout(const FbiContent &first)
{
    const FbiText written = writeFbi(first);
    if (!written.ok)
        return; // refused, with its reason: the text would not read back
    const FbiReadResult second = readFbi(written.text, first.kind());
    if (second.error != FbiReadResult::Error::None)
        broken("a text the writer gave does not open");
    if (first.kind() == FbiKind::Unit && !second.sectionEnded)
        broken("the saved file's closing brace is not read as the unit's");
    if (second.content.preserved() != first.preserved())
        broken("the block comments differ");
    const FbiText again = writeFbi(second.content);
    if (!again.ok || again.text != written.text)
        broken("saving again gives other bytes");
}

void check(const QByteArray &input, FbiKind kind)
{
    const FbiReadResult first = readFbi(input, kind);
    if (first.content.hasFileText())
        checkKeptLayout(input, first.content);
    checkStandardLayout(first.content);
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    check(input, FbiKind::Unit);
    check(input, FbiKind::Definitions);
    return 0;
}
