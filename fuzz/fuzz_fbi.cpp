// Feeds arbitrary bytes to the unit file reader and checks what a save and a new open do with the
// result: reading what was written gives the same rows and the same kept lines, and writing that
// again gives the same bytes. Any difference aborts, which libFuzzer reports with the input.
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
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const FbiReadResult first = readBytes(input);
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
