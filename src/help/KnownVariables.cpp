#include "help/KnownVariables.h"

#include "documents/FbiContent.h"
#include "documents/LineReader.h"

#include <QFile>
#include <QFileInfo>

namespace {
// The known list is a few kilobytes; these limits keep a wrong file from filling the memory or the
// variable panel.
constexpr qint64 MaxFileSize = 1024 * 1024;
constexpr qsizetype MaxLineLength = 32767;
}

KnownVariablesResult readKnownVariables(const QString &path)
{
    KnownVariablesResult result;
    // A device or pipe is no file: opening a pipe would wait for a writer.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaxFileSize)
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;

    LineReader reader(file, MaxLineLength);
    QByteArrayView line;
    for (;;) {
        switch (reader.next(line)) {
        case LineReader::Status::Line:
            // A file that grew since its size was checked, or one whose size the system does not
            // report (such as those under /proc), is refused once it passes the limit.
            if (file.pos() > MaxFileSize)
                return result;
            result.names.append(fromFileText(line));
            break;
        case LineReader::Status::End:
            result.ok = true;
            return result;
        case LineReader::Status::TooLong:
        case LineReader::Status::ReadError:
            return result;
        }
    }
}
