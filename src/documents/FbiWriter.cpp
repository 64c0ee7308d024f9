#include "documents/FbiWriter.h"

#include <QFileInfo>
#include <QSaveFile>

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
    for (const QByteArray &line : content.preserved)
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
    for (const QByteArray &line : content.preserved)
        out = put(put(out, line), LineEnd);
    put(out, Footer);
    return text;
}

bool writeFbiFile(const QString &path, const FbiContent &content)
{
    // Saving over a device or a pipe would replace it with a plain file: refuse anything but a file.
    const QFileInfo target(path);
    if (path.isEmpty() || (target.exists() && !target.isFile()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = writeFbi(content);
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
