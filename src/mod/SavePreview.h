#pragma once

#include "documents/FbiWriter.h"

#include <QList>
#include <QString>
#include <QStringList>

class Document;

// What Save All would write, file by file, before it is written: the lines of each file as it is
// on disk that would go, and the lines that would come in their place.
class SavePreview
{
public:
    struct Line
    {
        int number = 0;         // in the file on disk, counted from 1; for an added line, the line it comes before
        bool added = false;     // a new line, or one that goes
        QString text;
    };
    struct File
    {
        Document *document = nullptr;
        QString path;
        QList<Line> lines;
        QString failure;        // why the file could not be written as it is laid out; empty when it can
        // The lines that change: a line replaced counts once.
        int changedLines() const;
    };

    // The files as the layout would write them, each against its text on disk.
    static QList<File> of(const QList<Document *> &documents, FbiLayout layout);
    // The lines of the old text that differ from the new one, and the new lines in their place.
    static QList<Line> difference(const QByteArray &before, const QByteArray &after);
};
