#include "mod/SavePreview.h"

#include "documents/Document.h"
#include "documents/FbiContent.h"

#include <QFile>

#include <algorithm>

namespace {
// A file's lines without their ends: a line ending in CR LF and one ending in LF are the same line.
QList<QByteArray> linesOf(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}
}

int SavePreview::File::changedLines() const
{
    int gone = 0;
    int come = 0;
    for (const Line &line : lines)
        (line.added ? come : gone) += 1;
    return std::max(gone, come);
}

QList<SavePreview::Line> SavePreview::difference(const QByteArray &before, const QByteArray &after)
{
    const QList<QByteArray> old = linesOf(before);
    const QList<QByteArray> now = linesOf(after);
    // The lines both share at the start and at the end stay; an edit of a few values leaves little between.
    qsizetype first = 0;
    while (first < old.size() && first < now.size() && old[first] == now[first])
        ++first;
    qsizetype oldEnd = old.size();
    qsizetype nowEnd = now.size();
    while (oldEnd > first && nowEnd > first && old[oldEnd - 1] == now[nowEnd - 1]) {
        --oldEnd;
        --nowEnd;
    }
    // Between, the longest run of lines both keep in order, so that a line kept between two
    // changes is not shown as changed.
    const qsizetype rows = oldEnd - first;
    const qsizetype columns = nowEnd - first;
    std::vector<int> kept(size_t((rows + 1) * (columns + 1)), 0);
    auto at = [&](qsizetype row, qsizetype column) -> int & { return kept[size_t(row * (columns + 1) + column)]; };
    for (qsizetype row = rows - 1; row >= 0; --row) {
        for (qsizetype column = columns - 1; column >= 0; --column) {
            at(row, column) = old[first + row] == now[first + column] ? at(row + 1, column + 1) + 1
                                                                      : std::max(at(row + 1, column), at(row, column + 1));
        }
    }
    QList<Line> lines;
    qsizetype row = 0;
    qsizetype column = 0;
    while (row < rows || column < columns) {
        if (row < rows && column < columns && old[first + row] == now[first + column]) {
            ++row;
            ++column;
        } else if (column < columns && (row == rows || at(row, column + 1) >= at(row + 1, column))) {
            lines.append(Line{int(first + row) + 1, true, fromFileText(now[first + column])});
            ++column;
        } else {
            lines.append(Line{int(first + row) + 1, false, fromFileText(old[first + row])});
            ++row;
        }
    }
    // Each line that goes before the lines that come in its place, as a reader expects them.
    std::stable_sort(lines.begin(), lines.end(), [](const Line &left, const Line &right) {
        return left.number != right.number ? left.number < right.number : !left.added && right.added;
    });
    return lines;
}

QList<SavePreview::File> SavePreview::of(const QList<Document *> &documents, FbiLayout layout)
{
    QList<File> files;
    for (Document *document : documents) {
        File file;
        file.document = document;
        file.path = document->filePath();
        const FbiText written = writeFbi(document->content(), layout);
        if (!written.ok) {
            file.failure = written.reason;
        } else {
            QFile disk(file.path);
            const QByteArray before = disk.open(QIODevice::ReadOnly) ? disk.readAll() : QByteArray();
            file.lines = difference(before, written.text);
        }
        files.append(file);
    }
    return files;
}
