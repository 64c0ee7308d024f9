#include "help/KnownVariables.h"
#include "help/VariableHelp.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using Help::ValueType;
using Help::VariableHelpText;

namespace {
const QString CommentedOut = QStringLiteral("This variable is commented out, therefore ignored when run within TA. ");
const QString NoHelp = QStringLiteral("No help available for the selected variable. Variable may spelled incorrectly.");
}

class TestVariableHelp : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void anyLetterCase_data();
    void anyLetterCase();
    void textSays_data();
    void textSays();
    void everyKeyWithHelp();
    void valueHint_data();
    void valueHint();
    void knownVariables_data();
    void knownVariables();
    void knownVariablesRefused_data();
    void knownVariablesRefused();
    void shippedVariablesHaveHelp();
};

void TestVariableHelp::lookup_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("exact key") << "Acceleration" << "How fast the unit accelerates.\r\n(Acceleration=0.895;)";
    QTest::newRow("one-line text") << "BuildTime" << "The time it takes to build the unit. (BuildTime=9894;)";
    QTest::newRow("text without example")
        << "Copyright" << "DO NOT touch this! Your unit will not work if this is changed!";
    QTest::newRow("leading blank") << " Acceleration" << NoHelp;
    QTest::newRow("trailing blank") << "Acceleration " << NoHelp;
    QTest::newRow("prefix of a key") << "Accel" << NoHelp;
    QTest::newRow("key with more after it") << "Accelerations" << NoHelp;
    // U+017F folds to "s" in Unicode, but the engines fold A to Z only.
    QTest::newRow("letter that folds to an ASCII one") << QString::fromUtf16(u"Maxſlope") << NoHelp;
    QTest::newRow("commented-out key") << "//Acceleration" << CommentedOut;
    QTest::newRow("commented-out, other case") << "//ACCELERATION" << CommentedOut;
    QTest::newRow("two slashes alone") << "//" << CommentedOut;
    QTest::newRow("blank before the slashes") << " //Acceleration" << NoHelp;
    QTest::newRow("one slash") << "/" << NoHelp;
    QTest::newRow("empty") << "" << NoHelp;
}

void TestVariableHelp::lookup()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(VariableHelpText(name), expected);
}

void TestVariableHelp::anyLetterCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    const QStringList keys{"MaxDamage", "Acceleration", "wpri_badTargetCategory", "Weapon1", "ZBuffer", "ai_limit"};
    for (const QString &key : keys) {
        QString mixed = key;
        for (qsizetype i = 0; i < mixed.size(); i += 2)
            mixed[i] = mixed[i].isUpper() ? mixed[i].toLower() : mixed[i].toUpper();
        QTest::addRow("%s lower", qPrintable(key)) << key.toLower() << key;
        QTest::addRow("%s upper", qPrintable(key)) << key.toUpper() << key;
        QTest::addRow("%s mixed", qPrintable(key)) << mixed << key;
    }
}

void TestVariableHelp::anyLetterCase()
{
    QFETCH(QString, name);
    QFETCH(QString, key);
    QVERIFY(VariableHelpText(key) != NoHelp);
    QCOMPARE(VariableHelpText(name), VariableHelpText(key));
    QCOMPARE(Help::valueType(name), Help::valueType(key));
}

// A phrase that each corrected, strengthened or added text must carry, looked up in another letter case.
void TestVariableHelp::textSays_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("HealTime: TA3D's full heal") << "healtime" << "30 x HealTime seconds";
    QTest::newRow("HealTime: not Spring") << "HealTime" << "Spring never reads it";
    QTest::newRow("NoAutoFire: TA3D still fires") << "noautofire" << "ordinary weapons still fire on their own";
    QTest::newRow("NoAutoFire: Spring's fire state") << "NoAutoFire" << "no fire-state order";
    QTest::newRow("Designation: TA3D's look-up name") << "DESIGNATION" << "second name for the unit";
    QTest::newRow("ai_limit: the form real files use") << "ai_limit" << "(ai_limit=limit ARMFLAK 5;)";
    QTest::newRow("MetalMake: MetalUse elsewhere") << "metalmake" << "Spring and RWE read MetalUse";
    QTest::newRow("TEDClass: Spring's factories") << "tedclass" << "PLANT to mean a factory";
    QTest::newRow("MakesMetal: TA3D's fractions") << "MakesMetal" << "TA3D keeps them";
    QTest::newRow("WindGenerator: the cap") << "windgenerator" << "never more than this value";
    QTest::newRow("antiweapons: TA3D") << "AntiWeapons" << "first weapon aim at projectiles";
    QTest::newRow("MaxSlope: TA3D") << "maxslope" << "TA3D reads a height difference too";
    QTest::newRow("Builddistance: Spring's minimum") << "BuildDistance" << "below 128 to 128";
    QTest::newRow("TransMaxUnits: TA3D's other key") << "transmaxunits" << "transportmaxunits overrides it";
    QTest::newRow("SelfDestructAs: every engine") << "selfdestructas" << "TA3D and Spring all read it";
    QTest::newRow("extra: collision volume") << "collisionVolumeScales" << "Spring 0.77 and later";
    QTest::newRow("extra: fourth weapon") << "weapon4" << "three weapon slots";
    QTest::newRow("extra: metal upkeep") << "METALUSE" << "negative MetalMake";
    QTest::newRow("extra: TA3D's transports") << "TransportMaxUnits" << "overrides TransMaxUnits";
    QTest::newRow("extra: third weapon's bad targets") << "wspe_badtargetcategory" << "third weapon";
    QTest::newRow("extra: TA3D's Builder") << "CanBuild" << "another way to say Builder";
}

void TestVariableHelp::textSays()
{
    QFETCH(QString, name);
    QFETCH(QString, phrase);
    const QString text = VariableHelpText(name);
    QVERIFY2(text.contains(phrase), qPrintable(text));
}

// Every key: listed once in alphabetical order, its own text shaped "description CR LF (Key=value;)"
// (four texts are one line), and a type.
void TestVariableHelp::everyKeyWithHelp()
{
    const QStringList keys = Help::keysWithHelp();
    QCOMPARE(keys.size(), 135 + 42);
    QStringList sorted = keys;
    sorted.sort(Qt::CaseInsensitive);
    QCOMPARE(keys, sorted);
    QSet<QString> folded;
    const QStringList singleLine{"BuildTime", "Canfly", "Copyright", "MoveRate1"};
    for (const QString &key : keys) {
        folded.insert(key.toLower());
        const QString text = VariableHelpText(key);
        const QRegularExpression shape(QRegularExpression::anchoredPattern(
            singleLine.contains(key) ? QStringLiteral("[^\r\n]+")
                                     : "\\S[^\r\n]*\\S\r\n\\(" + QRegularExpression::escape(key) + "=[^;\r\n]+;\\)"));
        QVERIFY2(shape.match(text).hasMatch(), qPrintable(text));
        QVERIFY2(Help::valueType(key) != ValueType::Unknown, qPrintable(key));
    }
    QCOMPARE(folded.size(), keys.size());

    QSet<QString> typeTexts;
    for (ValueType type : {ValueType::Flag, ValueType::WholeNumber, ValueType::Decimal, ValueType::ThreeNumbers,
                           ValueType::Text, ValueType::Name, ValueType::CategoryList})
        typeTexts.insert(Help::valueTypeText(type));
    QCOMPARE(typeTexts.size(), 7);
    QVERIFY(!typeTexts.contains(QString()));
    QCOMPARE(Help::valueTypeText(ValueType::Unknown), QString());
    QCOMPARE(Help::valueType(u"//MaxDamage"), ValueType::Unknown);
}

void TestVariableHelp::valueHint_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("hint");
    const QString flag = QStringLiteral("expects 0 or 1");
    const QString whole = QStringLiteral("expects a whole number");
    const QString number = QStringLiteral("expects a number");
    const QString three = QStringLiteral("expects three numbers separated by blanks");
    QTest::newRow("flag 1") << "Builder" << "1" << "";
    QTest::newRow("flag 0 with blanks") << "canload" << " 0\t" << "";
    QTest::newRow("flag 2") << "Builder" << "2" << flag;
    QTest::newRow("flag word") << "canrepeat" << "true" << flag;
    QTest::newRow("flag empty") << "Builder" << "" << flag;
    QTest::newRow("whole number") << "MaxDamage" << "625" << "";
    QTest::newRow("whole number, other case") << "MAXDAMAGE" << "1.5" << whole;
    QTest::newRow("negative whole number") << "BuildAngle" << "-8192" << "";
    QTest::newRow("whole number with blanks") << "MaxDamage" << " 625 " << "";
    QTest::newRow("fraction for whole number") << "MaxDamage" << "1.5" << whole;
    QTest::newRow("sign alone") << "MaxDamage" << "-" << whole;
    QTest::newRow("two numbers for one") << "MaxDamage" << "6 25" << whole;
    QTest::newRow("blank for whole number") << "MaxDamage" << "  " << whole;
    QTest::newRow("decimal") << "MaxVelocity" << "1.9" << "";
    QTest::newRow("decimal without leading digit") << "idleautoheal" << ".5" << "";
    QTest::newRow("negative decimal") << "EnergyUse" << "-20" << "";
    QTest::newRow("decimal comma") << "MaxVelocity" << "1,9" << number;
    QTest::newRow("two points") << "MaxVelocity" << "1.2.3" << number;
    QTest::newRow("point alone") << "MaxVelocity" << "." << number;
    QTest::newRow("word for decimal") << "MaxVelocity" << "fast" << number;
    QTest::newRow("three numbers") << "collisionvolumescales" << "28 45 20" << "";
    QTest::newRow("three numbers with a tab") << "collisionvolumescales" << "36 30\t38" << "";
    QTest::newRow("three signed numbers") << "weaponmaindir1" << "0 -1 0.5" << "";
    QTest::newRow("three numbers with commas") << "collisionvolumeoffsets" << "0,-2,0" << three;
    QTest::newRow("two numbers") << "collisionvolumescales" << "28 45" << three;
    QTest::newRow("four numbers") << "collisionvolumescales" << "28 45 20 1" << three;
    QTest::newRow("text") << "Description" << "Fast Assault Tank" << "";
    QTest::newRow("name") << "Weapon1" << "1.5" << "";
    QTest::newRow("category list") << "Category" << "ARM TANK" << "";
    QTest::newRow("key without help") << "FooBar" << "x" << "";
    QTest::newRow("commented-out key") << "//MaxDamage" << "x" << "";
}

void TestVariableHelp::valueHint()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, hint);
    QCOMPARE(Help::valueHint(name, value), hint);
}

void TestVariableHelp::knownVariables_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("ok");
    const QStringList two{"Acceleration", "Builder"};
    QTest::newRow("CR LF") << QByteArray("Acceleration\r\nBuilder\r\n") << two << true;
    QTest::newRow("LF") << QByteArray("Acceleration\nBuilder\n") << two << true;
    QTest::newRow("CR") << QByteArray("Acceleration\rBuilder\r") << two << true;
    QTest::newRow("mixed") << QByteArray("Acceleration\rBuilder\nCanfly\r\n") << two + QStringList{"Canfly"} << true;
    QTest::newRow("no end on the last line") << QByteArray("a\r\nb") << QStringList{"a", "b"} << true;
    QTest::newRow("blank line and blanks kept") << QByteArray("a\r\n\r\n b \r\n") << QStringList{"a", "", " b "}
                                                << true;
    QTest::newRow("Latin-1 byte") << QByteArray("Cr\xe9" "dit\r\n") << QStringList{QString::fromLatin1("Cr\xe9" "dit")}
                                  << true;
    QTest::newRow("empty file") << QByteArray() << QStringList() << true;
    QTest::newRow("longest line") << QByteArray(32767, 'x') + "\r\nb" << QStringList{QString(32767, u'x'), "b"} << true;
    QTest::newRow("line too long") << "a\r\n" + QByteArray(32768, 'x') + "\r\nb" << QStringList{"a"} << false;
    QByteArray lines;
    for (int i = 0; lines.size() < 1024 * 1024; ++i)
        lines += "Key" + QByteArray::number(i % 10) + "\r\n";
    lines.truncate(1024 * 1024);
    QStringList lineNames = QString::fromLatin1(lines).split(QStringLiteral("\r\n"));
    if (lineNames.last().isEmpty())
        lineNames.removeLast();
    QTest::newRow("1 MB") << lines << lineNames << true;
    QTest::newRow("over 1 MB") << lines + "x" << QStringList() << false;
}

void TestVariableHelp::knownVariables()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, names);
    QFETCH(bool, ok);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Variables.dat"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
    file.close();
    const KnownVariablesResult result = readKnownVariables(path);
    QCOMPARE(result.ok, ok);
    QCOMPARE(result.names, names);
}

void TestVariableHelp::knownVariablesRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("readBeforeRefused");
    QTest::newRow("empty path") << "empty" << false;
    QTest::newRow("missing file") << "missing" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("200 MB on one line") << "huge" << false;
#ifdef Q_OS_LINUX
    QTest::newRow("device") << "/dev/null" << false;
    // A regular file that reports size 0 and holds megabytes: refused once 1 MB has been read.
    QTest::newRow("file larger than its size") << "/proc/kallsyms" << true;
#endif
}

void TestVariableHelp::knownVariablesRefused()
{
    QFETCH(QString, kind);
    QFETCH(bool, readBeforeRefused);
    QTemporaryDir dir;
    QString path;
    if (kind == u"missing") {
        path = dir.filePath(QStringLiteral("Variables.dat"));
    } else if (kind == u"folder") {
        path = dir.path();
    } else if (kind == u"huge") {
        // Sparse: the size is there without the disk space; the size check must refuse it unread.
        path = dir.filePath(QStringLiteral("Variables.dat"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(200 * 1024 * 1024));
    } else if (kind.startsWith(u'/')) {
        path = kind;
        if (!QFile::exists(path))
            QSKIP("not on this system");
    }
    const KnownVariablesResult result = readKnownVariables(path);
    QVERIFY(!result.ok);
    QCOMPARE(!result.names.isEmpty(), readBeforeRefused);
}

// The list that ships beside the program: every name has help and a type.
void TestVariableHelp::shippedVariablesHaveHelp()
{
    const KnownVariablesResult shipped = readKnownVariables(QStringLiteral(KORVID_RESOURCES_DIR "/Variables.dat"));
    QVERIFY(shipped.ok);
    QCOMPARE(shipped.names.size(), 135);
    for (const QString &name : shipped.names) {
        QVERIFY2(VariableHelpText(name) != NoHelp, qPrintable(name));
        QVERIFY2(Help::valueType(name) != ValueType::Unknown, qPrintable(name));
    }
}

QTEST_GUILESS_MAIN(TestVariableHelp)
#include "tst_variablehelp.moc"
