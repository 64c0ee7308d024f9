#include "documents/FbiWriter.h"

#include "documents/SafeWrite.h"

#include <cstring>

namespace {
char *put(char *out, QByteArrayView bytes)
{
    if (!bytes.isEmpty())
        std::memcpy(out, bytes.data(), size_t(bytes.size()));
    return out + bytes.size();
}
}

QByteArray writeFbi(const FbiContent &content)
{
    static constexpr QByteArrayView Header("[UNITINFO]\r\n\t{\r\n");
    static constexpr QByteArrayView Footer("\t}\r\n");
    static constexpr QByteArrayView LineEnd("\r\n");
    qsizetype size = Header.size() + Footer.size();
    for (qsizetype row = 0; row < content.rowCount(); ++row)
        size += content.nameBytes(row).size() + content.valueBytes(row).size() + 5; // tab, "=", ";", CR LF
    for (const QByteArray &line : content.preserved())
        size += line.size() + LineEnd.size();

    QByteArray text(size, Qt::Uninitialized);
    char *out = put(text.data(), Header);
    for (qsizetype row = 0; row < content.rowCount(); ++row) {
        *out++ = '\t';
        out = put(out, content.nameBytes(row));
        *out++ = '=';
        out = put(out, content.valueBytes(row));
        *out++ = ';';
        out = put(out, LineEnd);
    }
    for (const QByteArray &line : content.preserved())
        out = put(put(out, line), LineEnd);
    put(out, Footer);
    return text;
}

FbiWriteResult writeFbiFile(const QString &path, const FbiContent &content)
{
    const QByteArray text = writeFbi(content);
    const WriteOutcome outcome = writeFileSafely(path, text);
    FbiWriteResult result{outcome.ok, outcome.reason, {}};
    if (outcome.ok)
        result.stamp = FileStamp::ofBytes(path, text);
    return result;
}
