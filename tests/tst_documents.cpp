#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {
const QByteArray Tank = "[UNITINFO]\r\n{\r\n\tName=Tank;\r\n\tSide=ARM;\r\n}\r\n";
using Error = FbiReadResult::Error;

QStringList rows(const Document *document)
{
    QStringList rows;
    for (int row = 0; row < document->rowCount(); ++row)
        rows.append(document->name(row) + '=' + document->value(row));
    return rows;
}

QList<int> numbers(const DocumentSet &set)
{
    QList<int> numbers;
    for (const Document *document : set.documents())
        numbers.append(document->number());
    return numbers;
}
}
Q_DECLARE_METATYPE(Error)

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void lowestFreeNumberIsReused();
    void open_data();
    void open();
    void saveNamesTheDocumentAfterItsFile();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
    void editsMarkTheDocumentModified_data();
    void editsMarkTheDocumentModified();
    void close();

private:
    TestFolder m_files;
};

void TestDocuments::lowestFreeNumberIsReused()
{
    DocumentSet set;
    QSignalSpy added(&set, &DocumentSet::documentAdded);
    QSignalSpy removed(&set, &DocumentSet::documentRemoved);
    QList<Document *> made{set.create(), set.create(), set.create()};
    QCOMPARE(added.count(), 3);
    QCOMPARE(added.at(2).at(0).value<Document *>(), made[2]);
    QCOMPARE(made[1]->title(), "Default2.fbi");
    set.close(made[0]);
    set.close(made[2]);
    QCOMPARE(removed.count(), 2);
    QCOMPARE(numbers(set), QList<int>{2});
    QCOMPARE(set.create()->title(), "Default1.fbi");
    QCOMPARE(set.create()->number(), 3);
    QCOMPARE(set.create()->number(), 4);
    QCOMPARE(numbers(set), (QList<int>{1, 2, 3, 4}));
}

void TestDocuments::open_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Error>("error");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("title");
    QTest::newRow("a unit file") << "tank.fbi" << Tank << Error::None << QStringList{"Name=Tank", "Side=ARM"} << "tank.fbi";
    QTest::newRow("missing file") << "missing.fbi" << QByteArray() << Error::CannotOpen << QStringList() << "Default1.fbi";
    QTest::newRow("a folder") << "" << QByteArray() << Error::CannotOpen << QStringList() << "Default1.fbi";
    QTest::newRow("a line too long keeps the rows before it")
        << "long.fbi" << "{\r\nA=1;\r\nB=" + QByteArray(40000, 'x') + "\r\nC=3;\r\n}" << Error::LineTooLong
        << QStringList{"A=1"} << "Default1.fbi";
}

void TestDocuments::open()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(Error, error);
    QFETCH(QStringList, rows);
    QFETCH(QString, title);
    const QString path = bytes.isEmpty() ? m_files.filePath(name) : m_files.write(name, bytes);
    DocumentSet set;
    QSignalSpy added(&set, &DocumentSet::documentAdded);
    const DocumentSet::OpenResult opened = set.open(path);
    QCOMPARE(opened.error, error);
    QCOMPARE(opened.ok(), error == Error::None);
    QCOMPARE(added.count(), 1);
    QCOMPARE(::rows(opened.document), rows);
    QCOMPARE(opened.document->title(), title);
    QCOMPARE(opened.document->filePath(), error == Error::None ? path : QString());
    QVERIFY(!opened.document->isModified());
}

void TestDocuments::saveNamesTheDocumentAfterItsFile()
{
    DocumentSet set;
    Document *document = set.create();
    document->appendRow("Name", "Tank");
    QSignalSpy title(document, &Document::titleChanged);
    QSignalSpy modified(document, &Document::modifiedChanged);
    QVERIFY(set.save(document, m_files.filePath("new.fbi")).ok);
    QCOMPARE(m_files.read("new.fbi"), "[UNITINFO]\r\n\t{\r\n\tName=Tank;\r\n\t}\r\n");
    QCOMPARE(title.count(), 1);
    QCOMPARE(document->title(), "new.fbi");
    QCOMPARE(document->filePath(), m_files.filePath("new.fbi"));
    QCOMPARE(modified.count(), 1);
    QVERIFY(!document->isModified());
}

void TestDocuments::failedSaveChangesNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("missing folder") << "no such folder/tank.fbi";
    QTest::newRow("a folder") << "folder";
    QTest::newRow("below a file") << "tank.fbi/tank.fbi";
}

void TestDocuments::failedSaveChangesNothing()
{
    QFETCH(QString, target);
    QDir(m_files.path()).mkdir("folder");
    DocumentSet set;
    Document *document = set.open(m_files.write("tank.fbi", Tank)).document;
    document->setValue(1, "CORE");
    QSignalSpy title(document, &Document::titleChanged);
    QSignalSpy modified(document, &Document::modifiedChanged);
    QVERIFY(!set.save(document, m_files.filePath(target)).ok);
    QCOMPARE(m_files.read("tank.fbi"), Tank);
    QVERIFY(QFileInfo(m_files.filePath("folder")).isDir());
    QCOMPARE(document->title(), "tank.fbi");
    QCOMPARE(document->filePath(), m_files.filePath("tank.fbi"));
    QVERIFY(document->isModified());
    QCOMPARE(rows(document), (QStringList{"Name=Tank", "Side=CORE"}));
    QCOMPARE(title.count() + modified.count(), 0);
}

void TestDocuments::editsMarkTheDocumentModified_data()
{
    QTest::addColumn<int>("edit");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("modified");
    QTest::newRow("a new value") << 0 << QStringList{"Name=Tank", "Side=CORE"} << true;
    QTest::newRow("only the letter case") << 1 << QStringList{"Name=Tank", "Side=arm"} << true;
    QTest::newRow("the same value") << 2 << QStringList{"Name=Tank", "Side=ARM"} << false;
    QTest::newRow("a row added") << 3 << QStringList{"Name=Tank", "Side=ARM", "Name=Change This"} << true;
    QTest::newRow("a row removed") << 4 << QStringList{"Side=ARM"} << true;
}

void TestDocuments::editsMarkTheDocumentModified()
{
    QFETCH(int, edit);
    QFETCH(QStringList, rows);
    QFETCH(bool, modified);
    DocumentSet set;
    Document *document = set.open(m_files.write("tank.fbi", Tank)).document;
    QSignalSpy changed(document, &Document::modifiedChanged);
    const std::function<void()> edits[] = {
        [&] { document->setValue(1, "CORE"); }, [&] { document->setValue(1, "arm"); },
        [&] { document->setValue(1, "ARM"); }, [&] { document->appendRow("Name", "Change This"); },
        [&] { document->removeRow(0); }};
    edits[edit]();
    QCOMPARE(::rows(document), rows);
    QCOMPARE(document->isModified(), modified);
    QCOMPARE(changed.count(), modified ? 1 : 0);
}

void TestDocuments::close()
{
    DocumentSet set;
    QPointer<Document> document = set.create();
    QSignalSpy removed(&set, &DocumentSet::documentRemoved);
    set.close(document);
    set.close(document);
    QCOMPARE(removed.count(), 1);
    QVERIFY(set.isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(document.isNull());
}

QTEST_GUILESS_MAIN(TestDocuments)
#include "tst_documents.moc"
