#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "support/Rows.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

namespace {
const QByteArray Tank = "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n\tSide=ARM;\r\n}\r\n";
using Error = FbiReadResult::Error;

}

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void lowestFreeNumberIsReused();
    void open_data();
    void open();
    void save_data();
    void save();
    void oneDocumentPerFile();
    void keptSaveCountsLinesInTheSavedText();
    void theLargestEditThatFitsReopens_data();
    void theLargestEditThatFitsReopens();

private:
    TestFolder m_files;
};

void TestDocuments::lowestFreeNumberIsReused()
{
    DocumentSet set;
    QSignalSpy added(&set, &DocumentSet::documentAdded);
    QSignalSpy removed(&set, &DocumentSet::documentRemoved);
    const QList<QPointer<Document>> made{set.create(), set.create(), set.create()};
    QCOMPARE(added.count(), 3);
    QCOMPARE(added.at(1).at(0).value<Document *>()->title(), "Default2.fbi");
    set.close(made[0]);
    set.close(made[2]);
    set.close(made[2]);
    QCOMPARE(removed.count(), 2);
    QCOMPARE(set.documents(), QList<Document *>{made[1]});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(made[0].isNull() && made[2].isNull());
    QCOMPARE(set.create()->title(), "Default1.fbi");
    QCOMPARE(set.create()->number(), 3);
    QCOMPARE(set.create()->number(), 4);
    QCOMPARE(set.documents().size(), 4);
}

void TestDocuments::open_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("error");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("a unit file") << "tank.fbi" << Tank << int(Error::None) << QStringList{"Name=Tank", "Side=ARM"};
    QTest::newRow("missing file") << "missing.fbi" << QByteArray() << int(Error::CannotOpen) << QStringList();
    QTest::newRow("a folder") << "" << QByteArray() << int(Error::CannotOpen) << QStringList();
    QTest::newRow("a line too long: the rows before it stay")
        << "long.fbi" << "{\r\nA=1;\r\nB=" + QByteArray(40000, 'x') + "\r\nC=3;\r\n}" << int(Error::LineTooLong)
        << QStringList{"A=1"};
}

// A file that cannot be read still gives a document, under its default title.
void TestDocuments::open()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    QFETCH(QStringList, rows);
    const QString path = bytes.isEmpty() ? m_files.filePath(name) : m_files.write(name, bytes);
    DocumentSet set;
    QSignalSpy added(&set, &DocumentSet::documentAdded);
    const DocumentSet::OpenResult opened = set.open(path);
    QCOMPARE(int(opened.error), error);
    QCOMPARE(added.count(), 1);
    QCOMPARE(rowsOf(*opened.document), rows);
    QCOMPARE(opened.document->title(), opened.ok() ? name : "Default1.fbi");
    QCOMPARE(opened.document->filePath(), opened.ok() ? path : QString());
    QVERIFY(!opened.document->isModified());
}

void TestDocuments::save_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("ok");
    QTest::newRow("a new file") << "new.fbi" << true;
    QTest::newRow("fails: missing folder") << "no such folder/tank.fbi" << false;
    QTest::newRow("fails: a folder") << "folder" << false;
    QTest::newRow("fails: below a file") << "tank.fbi/tank.fbi" << false;
}

// A save that fails leaves the file on disk and the document as they were.
// A check after a save points at the lines the file has now, not at those it had when opened.
void TestDocuments::keptSaveCountsLinesInTheSavedText()
{
    DocumentSet set;
    const QString path = m_files.write("lines.fbi", "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n\tSide=ARM;\r\n\tMaxDamage=10;\r\n}\r\n");
    Document *document = set.open(path).document;
    QCOMPARE(document->content().lineNumbers(), (QList<qsizetype>{3, 4, 5}));
    document->removeRows({0}, "Remove");
    QVERIFY(set.save(document, path).ok);
    QCOMPARE(document->content().lineNumbers(), (QList<qsizetype>{3, 4}));
    document->setValue(1, "20");
    QVERIFY(set.save(document, path).ok);
    QCOMPARE(m_files.read("lines.fbi"), "[UNITINFO]\r\n{\r\n\tSide=ARM;\r\n\tMaxDamage=20;\r\n}\r\n");
}

void TestDocuments::save()
{
    QFETCH(QString, target);
    QFETCH(bool, ok);
    QDir(m_files.path()).mkdir("folder");
    DocumentSet set;
    Document *document = set.open(m_files.write("tank.fbi", Tank)).document;
    document->setValue(1, "CORE");
    QSignalSpy title(document, &Document::titleChanged);
    QSignalSpy modified(document, &Document::modifiedChanged);
    set.setSaveLayout(FbiLayout::Standard);
    QCOMPARE(set.save(document, m_files.filePath(target)).ok, ok);
    QCOMPARE(m_files.read(ok ? target : "tank.fbi"),
             ok ? "[UNITINFO]\r\n\t{\r\n\tName=Tank;\r\n\tSide=CORE;\r\n\t}\r\n" : Tank);
    QCOMPARE(document->title(), ok ? target : "tank.fbi");
    QCOMPARE(document->filePath(), m_files.filePath(ok ? target : "tank.fbi"));
    QCOMPARE(document->isModified(), !ok);
    QCOMPARE(title.count() + modified.count(), ok ? 2 : 0);
    QCOMPARE(rowsOf(*document), (QStringList{"Name=Tank", "Side=CORE"}));
}

// Whoever asks for a file, a table sharing it or File > Open, gets the one document of it; it lives
// while anything holds it.
void TestDocuments::oneDocumentPerFile()
{
    DocumentSet set;
    const QString path = m_files.write("tank.fbi", Tank);
    QPointer<Document> shared = set.share(path, readFbiFile(path));
    QVERIFY(set.documents().isEmpty());
    shared->setValue(1, "CORE");
    // Another spelling of the same path.
    const DocumentSet::OpenResult opened = set.open(QDir(m_files.path()).filePath("./tank.fbi"));
    QCOMPARE(opened.document, shared.data());
    QCOMPARE(opened.document->value(1), "CORE");
    QCOMPARE(set.share(path, FbiReadResult()), shared.data());
    set.release(shared);
    set.release(shared);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(shared, "its window still shows it");
    QCOMPARE(set.findByPath(path), shared.data());
    set.close(shared);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(shared.isNull());
    QCOMPARE(set.findByPath(path), nullptr);

    // Saving one document as another's file would make two documents of one file.
    Document *first = set.open(path).document;
    Document *second = set.create();
    const DocumentSet::SaveResult refused = set.save(second, path);
    QVERIFY(!refused.ok);
    QCOMPARE(m_files.read("tank.fbi"), Tank);
    QCOMPARE(set.findByPath(path), first);
}

void TestDocuments::theLargestEditThatFitsReopens_data()
{
    QTest::addColumn<int>("layout");
    QTest::newRow("kept layout") << int(FbiLayout::Kept);
    QTest::newRow("standard layout") << int(FbiLayout::Standard);
}

// A paste that would take the file past the lines the reader opens is refused whole; the largest
// that fits is saved and opens again.
void TestDocuments::theLargestEditThatFitsReopens()
{
    QFETCH(int, layout);
    DocumentSet set;
    set.setSaveLayout(FbiLayout(layout));
    const QString path = m_files.write("big.fbi", "[UNITINFO]\r\n{\r\n\tA=1;\r\n}\r\n");
    Document *document = set.open(path).document;
    // Two lines of header and brace, the row, the closing brace.
    const int room = Fbi::MaxLinesWithoutClosingBrace - 4;
    QList<FbiRow> rows;
    for (int row = 0; row <= room; ++row)
        rows.append(FbiRow{QStringLiteral("Row%1").arg(row), QString::number(row)});
    const QString refused = document->insertRows(1, rows, "Paste");
    QVERIFY(refused.contains(QString::number(Fbi::MaxLinesWithoutClosingBrace)));
    QCOMPARE(document->rowCount(), 1);
    QCOMPARE(document->history()->count(), 0);
    rows.removeLast();
    QVERIFY(document->insertRows(1, rows, "Paste").isEmpty());
    QVERIFY(!document->addRow("One", "more").isEmpty());
    QVERIFY(!document->setValue(0, QString(Fbi::MaxLineLength, QLatin1Char('v'))).isEmpty());
    QVERIFY(set.save(document, path).ok);
    const FbiReadResult again = readFbiFile(path);
    QCOMPARE(int(again.error), int(Error::None));
    QCOMPARE(again.content.rowCount(), qsizetype(room + 1));
}

QTEST_GUILESS_MAIN(TestDocuments)
#include "tst_documents.moc"
