// Real modders' unit files, read and saved: what the game reads from them must not change.
// The files are not part of the project; the test skips when their folder is not beside it.
#include "documents/FbiReader.h"
#include "documents/FbiWriter.h"

#include <QBuffer>
#include <QDirIterator>
#include <QTest>

namespace {
const QString CorpusDir = QStringLiteral(KORVID_CORPUS_DIR);

struct Assignment
{
    QByteArray section;
    QByteArray key;
    QByteArray value;
};

// What a game engine takes from the first section of a file: every key and value with the path of
// nested sections it stands in, comments of both kinds removed. Written independently of the editor's reader.
QStringList gameView(QByteArray text)
{
    for (qsizetype open = text.indexOf("/*"); open >= 0; open = text.indexOf("/*", open)) {
        const qsizetype close = text.indexOf("*/", open + 2);
        text.remove(open, close < 0 ? text.size() - open : close + 2 - open);
    }
    QList<Assignment> result;
    QList<QByteArray> path;
    QByteArray pending;
    int depth = 0;
    bool started = false;
    for (QByteArray line : text.replace("\r\n", "\n").replace('\r', '\n').split('\n')) {
        if (const qsizetype comment = line.indexOf("//"); comment >= 0)
            line.truncate(comment);
        line = line.trimmed();
        if (line.startsWith('[') && line.contains(']')) {
            pending = line.mid(1, line.indexOf(']') - 1).trimmed().toLower();
            line = line.mid(line.indexOf(']') + 1).trimmed();
        }
        if (line.startsWith('{')) {
            path.append(pending);
            ++depth;
            started = true;
            continue;
        }
        if (line.startsWith('}')) {
            if (--depth <= 0 && started)
                break;
            path.removeLast();
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (depth > 0 && equals > 0) {
            QByteArray value = line.mid(equals + 1);
            if (const qsizetype end = value.indexOf(';'); end >= 0)
                value.truncate(end);
            result.append({path.join('/'), line.left(equals).trimmed().toLower(), value.trimmed()});
        }
    }
    // Sections may come in another order after a save; within one section the order stays.
    std::stable_sort(result.begin(), result.end(),
                     [](const Assignment &a, const Assignment &b) { return a.section < b.section; });
    QStringList lines;
    for (const Assignment &assignment : result)
        lines.append(QString::fromLatin1(assignment.section + '/' + assignment.key + '=' + assignment.value));
    return lines;
}

bool hasTabInsideValue(const QByteArray &text)
{
    for (const QByteArray &line : QByteArray(text).replace('\r', '\n').split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals >= 0 && line.mid(equals + 1).split(';').constFirst().trimmed().contains('\t'))
            return true;
    }
    return false;
}
}

class TestCorpus : public QObject
{
    Q_OBJECT

private slots:
    void savingKeepsWhatTheGameReads_data();
    void savingKeepsWhatTheGameReads();
};

void TestCorpus::savingKeepsWhatTheGameReads_data()
{
    QTest::addColumn<QString>("path");
    if (!QFileInfo(CorpusDir).isDir())
        QSKIP("No corpus of real unit files beside the project.");
    QDirIterator files(CorpusDir, {"*.fbi", "*.FBI"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QTest::newRow(qPrintable(QDir(CorpusDir).relativeFilePath(path))) << path;
    }
}

void TestCorpus::savingKeepsWhatTheGameReads()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    const FbiReadResult read = readFbiFile(path);
    QCOMPARE(int(read.error), int(FbiReadResult::Error::None));
    const QByteArray saved = writeFbi(read.content);
    if (original.contains("/*") || hasTabInsideValue(original))
        QSKIP("Block comments and tabs inside values are beyond what the editor keeps.");
    QCOMPARE(gameView(saved), gameView(original));

    QBuffer again;
    again.setData(saved);
    again.open(QIODevice::ReadOnly);
    const FbiReadResult reread = readFbi(again);
    QCOMPARE(reread.content.rows(), read.content.rows());
    QCOMPARE(reread.content.preserved, read.content.preserved);
}

QTEST_GUILESS_MAIN(TestCorpus)
#include "tst_corpus.moc"
