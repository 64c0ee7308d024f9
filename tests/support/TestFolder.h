#pragma once

#include <QFile>
#include <QTemporaryDir>

// A folder of the test's own for the files it reads and writes.
class TestFolder : public QTemporaryDir
{
public:
    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return file.fileName();
    }

    QByteArray read(const QString &name) const
    {
        QFile file(filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};
