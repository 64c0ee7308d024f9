#include "documents/FbiWriter.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cstring>

namespace {
// One byte per character, as the file was read; a character the file cannot hold becomes "?".
char *putText(char *out, const QString &text)
{
    for (QChar c : text)
        *out++ = c.unicode() < 0x100 ? char(c.unicode()) : '?';
    return out;
}

char *putBytes(char *out, const char *bytes, qsizetype size)
{
    std::memcpy(out, bytes, size_t(size));
    return out + size;
}

template<qsizetype N>
char *putLiteral(char *out, const char (&literal)[N])
{
    return putBytes(out, literal, N - 1);
}
}

QByteArray writeFbi(const FbiContent &content)
{
    static constexpr char Header[] = "[UNITINFO]\r\n\t{\r\n";
    static constexpr char Footer[] = "\t}\r\n";
    qsizetype size = sizeof(Header) - 1 + sizeof(Footer) - 1;
    for (const FbiRow &row : content.rows)
        size += row.name.size() + row.value.size() + 5; // tab, "=", ";", CR LF
    for (const QByteArray &line : content.preserved)
        size += line.size() + 2;

    QByteArray text(size, Qt::Uninitialized);
    char *out = putLiteral(text.data(), Header);
    for (const FbiRow &row : content.rows) {
        *out++ = '\t';
        out = putText(out, row.name);
        *out++ = '=';
        out = putText(out, row.value);
        out = putLiteral(out, ";\r\n");
    }
    for (const QByteArray &line : content.preserved) {
        out = putBytes(out, line.constData(), line.size());
        out = putLiteral(out, "\r\n");
    }
    putLiteral(out, Footer);
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
