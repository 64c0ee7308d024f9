// Real modders' unit files, read and saved: what the game reads from them must not change.
// The files are not part of the project; the test skips when their folder is not beside it.
#include "documents/FbiReader.h"
#include "documents/FbiWriter.h"
#include "help/VariableHelp.h"

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTest>

#include <functional>
#include <numeric>

namespace {
const QString CorpusDir = QStringLiteral(KORVID_CORPUS_DIR);

// What a game engine takes from the first section of a file: every key and value with the path of
// nested sections it stands in, comments of both kinds removed. Written independently of the editor's reader.
QStringList gameView(QByteArray text)
{
    for (qsizetype open; (open = text.indexOf("/*")) >= 0;) {
        const qsizetype close = text.indexOf("*/", open + 2);
        text.remove(open, close < 0 ? text.size() : close + 2 - open);
    }
    QList<std::pair<QByteArray, QByteArray>> found; // the section's path, "key=value"
    QByteArrayList path;
    QByteArray pending;
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
        } else if (line.startsWith('}')) {
            if (path.size() <= 1)
                break;
            path.removeLast();
        } else if (const qsizetype equals = line.indexOf('='); !path.isEmpty() && equals > 0) {
            const QByteArray value = line.mid(equals + 1).split(';').constFirst().trimmed();
            found.append({path.join('/'), line.left(equals).trimmed().toLower() + '=' + value});
        }
    }
    // Sections may come in another order after a save; within one section the order stays.
    std::stable_sort(found.begin(), found.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QStringList lines;
    for (const auto &[section, assignment] : found)
        lines.append(QString::fromLatin1(section + '/' + assignment));
    return lines;
}
}

class TestCorpus : public QObject
{
    Q_OBJECT

private slots:
    void savingKeepsWhatTheGameReads_data();
    void savingKeepsWhatTheGameReads();
    void helpOverRealFiles();
};

void TestCorpus::savingKeepsWhatTheGameReads_data()
{
    QTest::addColumn<QString>("path");
    if (!QFileInfo(CorpusDir).isDir())
        QSKIP("No corpus of real unit files beside the project.");
    for (QDirIterator files(CorpusDir, {"*.fbi", "*.FBI"}, QDir::Files, QDirIterator::Subdirectories); files.hasNext();)
        QTest::newRow(qPrintable(QDir(CorpusDir).relativeFilePath(files.next()))) << files.filePath();
}

void TestCorpus::savingKeepsWhatTheGameReads()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    const FbiReadResult read = readFbiFile(path);
    QCOMPARE(int(read.error), int(FbiReadResult::Error::None));
    const QByteArray saved = writeFbi(read.content).text;
    QCOMPARE(gameView(saved), gameView(original));
    QCOMPARE(writeFbi(readFbi(saved).content).text, saved); // a second save changes nothing

    // Kept as written: byte for byte when unchanged, one line more or less when one value changes.
    QCOMPARE(writeFbi(read.content, FbiLayout::Kept).text, original);
    QVERIFY(read.content.rowCount() > 0);
    FbiContent changed = read.content;
    qsizetype row = changed.rowCount() / 2;
    while (row + 1 < changed.rowCount() && changed.isSection(row))
        ++row;
    QVERIFY(!changed.isSection(row));
    changed.setValue(row, changed.value(row) + QLatin1Char('0'));
    const QByteArray edited = writeFbi(changed, FbiLayout::Kept).text;
    QCOMPARE(readFbi(edited).content.rows(), changed.rows());
    const QByteArrayList before = original.split('\n');
    const QByteArrayList after = edited.split('\n');
    QCOMPARE(after.size(), before.size());
    QCOMPARE(std::inner_product(before.begin(), before.end(), after.begin(), 0, std::plus<>(), std::not_equal_to<>()), 1);
}

// The help over every key line of real files: nearly all get help, and every value note names the
// engines it is about. What it found is printed, note by note, for the release notes.
void TestCorpus::helpOverRealFiles()
{
    if (!QFileInfo(CorpusDir).isDir())
        QSKIP("No corpus of real unit files beside the project.");
    qsizetype lines = 0;
    qsizetype withHelp = 0;
    qsizetype notes = 0;
    QMap<QString, int> byEngine;
    for (QDirIterator files(CorpusDir, {"*.fbi", "*.FBI"}, QDir::Files, QDirIterator::Subdirectories); files.hasNext();) {
        const QString path = files.next();
        const FbiReadResult read = readFbiFile(path);
        QCOMPARE(int(read.error), int(FbiReadResult::Error::None));
        for (const FbiRow &row : read.content.rows()) {
            // The unit's own keys; a nested section's rows are keys of their own kind.
            if (row.name.startsWith(u"//") || row.section || row.depth > 0)
                continue;
            ++lines;
            if (Help::variableHelpText(row.name) != Help::DefaultHelpText)
                ++withHelp;
            for (const Help::ValueNote &note : Help::valueNotes(row.name, row.value)) {
                QVERIFY2(note.engines, qPrintable(row.name));
                QVERIFY2(note.message.startsWith(Help::engineNames(note.engines), Qt::CaseInsensitive),
                         qPrintable(note.message));
                ++notes;
                for (const Help::Engine engine : {Help::Engine::OriginalGame, Help::Engine::Ta3d, Help::Engine::Spring,
                                                  Help::Engine::Rwe}) {
                    if (note.engines.testFlag(engine))
                        ++byEngine[Help::engineNames(engine)];
                }
                qInfo("%s: %s=%s: %s", qPrintable(QDir(CorpusDir).relativeFilePath(path)), qPrintable(row.name),
                      qPrintable(row.value), qPrintable(note.message));
            }
        }
    }
    QVERIFY(lines > 0);
    qInfo("Help for %lld of %lld key lines (%.1f%%); %lld value notes: the original game %d, TA3D %d, Spring %d, "
          "RWE %d.",
          qint64(withHelp), qint64(lines), 100.0 * double(withHelp) / double(lines), qint64(notes),
          byEngine.value(QStringLiteral("The original game")), byEngine.value(QStringLiteral("TA3D")),
          byEngine.value(QStringLiteral("Spring")), byEngine.value(QStringLiteral("RWE")));
    QVERIFY2(withHelp * 100 >= lines * 97, "fewer than 97% of the key lines of real files get help");
}

QTEST_GUILESS_MAIN(TestCorpus)
#include "tst_corpus.moc"
