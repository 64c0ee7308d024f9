#include "help/VariableHelp.h"

#include <QFile>
#include <QSet>
#include <QStringList>
#include <QTest>

using Help::VariableHelpText;

namespace {

const QString acceleration =
    QStringLiteral("How fast the unit accelerates.\r\n(Acceleration=0.895;)");
const QString commentedOut =
    QStringLiteral("This variable is commented out, therefore ignored when run within TA. ");
const QString noHelp = QStringLiteral(
    "No help available for the selected variable. Variable may spelled incorrectly.");

// The rows that are one line by design; every other row has an example line.
const QStringList singleLineKeys = {QStringLiteral("BuildTime"), QStringLiteral("Canfly"),
                                    QStringLiteral("Copyright"), QStringLiteral("MoveRate1")};

QStringList tableKeys()
{
    QStringList keys;
    for (const Help::VariableHelpEntry &entry : Help::variableHelpTable())
        keys.append(QString(entry.key));
    return keys;
}

QString tableText(const QString &key)
{
    for (const Help::VariableHelpEntry &entry : Help::variableHelpTable()) {
        if (entry.key == key)
            return QString(entry.text);
    }
    return {};
}

} // namespace

class TestVariableHelp : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void everyKeyFindsItsOwnRow();
    void fixedTexts_data();
    void fixedTexts();
    void tableKeysInOrder();
    void tableKeysDistinctIgnoringCase();
    void textShape_data();
    void textShape();
    void singleLineRows();
    void textsArePlainAscii();
    void variablesDatMatchesTable();
};

void TestVariableHelp::lookup_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("exact key") << "Acceleration" << acceleration;
    QTest::newRow("exact key, mixed case kept")
        << "Frenchdescription" << tableText("Frenchdescription");
    QTest::newRow("exact key with underscore") << "wsec_badTargetCategory"
                                               << tableText("wsec_badTargetCategory");
    QTest::newRow("last key") << "ZBuffer" << tableText("ZBuffer");

    QTest::newRow("all lower case") << "acceleration" << noHelp;
    QTest::newRow("all upper case") << "ACCELERATION" << noHelp;
    QTest::newRow("lower case of a lower-case-looking key") << "canfly" << noHelp;
    QTest::newRow("leading blank") << " Acceleration" << noHelp;
    QTest::newRow("trailing blank") << "Acceleration " << noHelp;
    QTest::newRow("leading tab") << "\tAcceleration" << noHelp;
    QTest::newRow("prefix of a key") << "Accel" << noHelp;
    QTest::newRow("key plus suffix") << "Acceleration2" << noHelp;
    QTest::newRow("unknown name") << "NoSuchVariable" << noHelp;
    QTest::newRow("third weapon bad target key is not in the table")
        << "wspe_badTargetCategory" << noHelp;

    QTest::newRow("commented-out key") << "//Acceleration" << commentedOut;
    QTest::newRow("commented-out unknown name") << "//whatever" << commentedOut;
    QTest::newRow("commented-out wrong case") << "//acceleration" << commentedOut;
    QTest::newRow("two slashes alone") << "//" << commentedOut;
    QTest::newRow("three slashes") << "///" << commentedOut;
    QTest::newRow("blank before slashes") << " //Acceleration" << noHelp;
    QTest::newRow("single slash before key") << "/Acceleration" << noHelp;
    QTest::newRow("backslashes") << "\\\\Acceleration" << noHelp;

    QTest::newRow("one slash") << "/" << noHelp;
    QTest::newRow("one letter") << "A" << noHelp;
    QTest::newRow("empty") << "" << noHelp;
}

void TestVariableHelp::lookup()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(VariableHelpText(name), expected);
}

void TestVariableHelp::everyKeyFindsItsOwnRow()
{
    for (const Help::VariableHelpEntry &entry : Help::variableHelpTable()) {
        const QString key(entry.key);
        QCOMPARE(VariableHelpText(key), QString(entry.text));
    }
}

void TestVariableHelp::fixedTexts_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Acceleration") << VariableHelpText(u"Acceleration") << acceleration;
    QTest::newRow("BuildTime, one line")
        << VariableHelpText(u"BuildTime")
        << QStringLiteral("The time it takes to build the unit. (BuildTime=9894;)");
    QTest::newRow("Copyright, no example")
        << VariableHelpText(u"Copyright")
        << QStringLiteral("DO NOT touch this! Your unit will not work if this is changed!");
    QTest::newRow("Category")
        << VariableHelpText(u"Category")
        << QStringLiteral("The category class of the unit. See totala1.hpi for examples.\r\n"
                          "(Category=ARM TANK LEVEL2 NOTAIR NOTSUB;)");
    QTest::newRow("StandingFireOrder")
        << VariableHelpText(u"StandingFireOrder")
        << QStringLiteral("The initial fire order the unit starts with. 0=Hold Fire, "
                          "1=Return Fire, 2=Fire at Will.\r\n(StandingFireOrder=1;)");
    QTest::newRow("UnitName")
        << VariableHelpText(u"UnitName")
        << QStringLiteral("The name of the unit that is used for all the other files the unit "
                          "uses. This FBI should have the same name as this!\r\n"
                          "(UnitName=COROBLIT;)");
    QTest::newRow("YardMap")
        << VariableHelpText(u"YardMap")
        << QStringLiteral("Defines the unit footprint in more detail (buildings only). Each "
                          "area of the grid is given a symbol which tells TA if units can pass "
                          "over, be restricted from or allow to be built on water, etc.\r\n"
                          "(YardMap=ooo ooo;)");
    QTest::newRow("commented-out constant, trailing blank")
        << QString(Help::CommentedOutHelpText) << commentedOut;
    QTest::newRow("default constant") << QString(Help::DefaultHelpText) << noHelp;
}

void TestVariableHelp::fixedTexts()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void TestVariableHelp::tableKeysInOrder()
{
    // The one place the full list is spelled out: the order is part of the table's contract.
    const QStringList expected = {
        "Acceleration", "ActivateWhenBuilt", "ai_limit", "ai_weight", "altfromsealevel",
        "amphibious", "antiweapons", "attackrunlength", "BMcode", "BadTargetCategory",
        "BankScale", "BrakeRate", "BuildAngle", "BuildCostEnergy", "BuildCostMetal",
        "BuildTime", "Builddistance", "Builder", "canattack", "CanCapture",
        "CanDgun", "Canfly", "canguard", "canhover", "canload",
        "canmove", "canpatrol", "CanReclamate", "canstop", "cantbetransported",
        "Category", "CloakCost", "CloakCostMoving", "Commander", "Copyright",
        "Corpse", "cruisealt", "DamageModifier", "DefaultMissionType", "Description",
        "Designation", "digger", "downloadable", "EnergyMake", "EnergyStorage",
        "EnergyUse", "ExplodeAs", "ExtractsMetal", "firestandorders", "Floater",
        "FootprintX", "FootprintZ", "Frenchdescription", "FrenchName", "GermanDescription",
        "GermanName", "HealTime", "HideDamage", "HoverAttack", "ImmuneToParalyzer",
        "init_cloaked", "IsAirBase", "IsFeature", "istargetingupgrade", "ItalianDescription",
        "ItalianName", "JapaneseDescription", "JapaneseName", "kamikaze", "kamikazedistance",
        "MakesMetal", "maneuverleashlength", "MaxDamage", "MaxSlope", "MaxVelocity",
        "MaxWaterDepth", "MetalMake", "MetalStorage", "mincloakdistance", "MinWaterDepth",
        "mobilestandorders", "MoveRate1", "MovementClass", "Name", "NoAutoFire",
        "NoChaseCategory", "norestrict", "NoShadow", "Objectname", "onoffable",
        "Ovradjust", "PigLatinDescription", "PigLatinName", "PitchScale", "RadarDistance",
        "RadarDistanceJam", "Scale", "SelfDestructAs", "selfdestructcountdown", "ShootMe",
        "ShowPlayerName", "Side", "SightDistance", "SonarDistance", "SonarDistanceJam",
        "sortbias", "SoundCategory", "SpanishDescription", "SpanishName", "StandingFireOrder",
        "StandingMoveOrder", "Stealth", "SteeringMode", "TEDClass", "teleporter",
        "ThreeD", "TidalGenerator", "TransMaxUnits", "transportcapacity", "transportsize",
        "TurnRate", "UnitName", "UnitNumber", "Upright", "Version",
        "WaterLine", "Weapon1", "Weapon2", "Weapon3", "WindGenerator",
        "WorkerTime", "wpri_badTargetCategory", "wsec_badTargetCategory", "YardMap", "ZBuffer",
    };
    QCOMPARE(expected.size(), 135);
    QCOMPARE(tableKeys(), expected);
}

void TestVariableHelp::tableKeysDistinctIgnoringCase()
{
    QSet<QString> seen;
    for (const QString &key : tableKeys()) {
        QVERIFY2(!key.isEmpty(), "empty key");
        const QString folded = key.toCaseFolded();
        QVERIFY2(!seen.contains(folded), qPrintable(QStringLiteral("duplicate key: ") + key));
        seen.insert(folded);
    }
}

void TestVariableHelp::textShape_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    for (const Help::VariableHelpEntry &entry : Help::variableHelpTable()) {
        const QString key(entry.key);
        if (!singleLineKeys.contains(key))
            QTest::newRow(qPrintable(key)) << key << QString(entry.text);
    }
}

void TestVariableHelp::textShape()
{
    QFETCH(QString, key);
    QFETCH(QString, text);

    // Description, one CR LF, then "(Key=value;)" naming this row's own key.
    QCOMPARE(text.count(QStringLiteral("\r\n")), 1);
    QCOMPARE(text.count(QLatin1Char('\r')), 1);
    QCOMPARE(text.count(QLatin1Char('\n')), 1);

    const qsizetype breakAt = text.indexOf(QStringLiteral("\r\n"));
    const QString description = text.left(breakAt);
    const QString example = text.mid(breakAt + 2);

    QVERIFY(!description.trimmed().isEmpty());
    QCOMPARE(description, description.trimmed());

    const QString head = QLatin1Char('(') + key + QLatin1Char('=');
    QVERIFY2(example.startsWith(head), qPrintable(example));
    QVERIFY2(example.endsWith(QStringLiteral(";)")), qPrintable(example));
    const QString value = example.mid(head.size(), example.size() - head.size() - 2);
    QVERIFY2(!value.trimmed().isEmpty(), qPrintable(example));
    QVERIFY2(!value.contains(QLatin1Char(';')), qPrintable(example));
}

void TestVariableHelp::singleLineRows()
{
    for (const QString &key : singleLineKeys) {
        const QString text = VariableHelpText(key);
        QVERIFY2(text != noHelp, qPrintable(key));
        QVERIFY2(!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')),
                 qPrintable(key));
        if (key == QLatin1String("Copyright"))
            continue;
        // The example follows the description on the same line, after one blank.
        const QString example = QStringLiteral(" (") + key + QLatin1Char('=');
        const qsizetype at = text.lastIndexOf(example);
        QVERIFY2(at > 0 && text.at(at - 1) != QLatin1Char(' '), qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral(";)")), qPrintable(text));
    }
}

void TestVariableHelp::textsArePlainAscii()
{
    for (const Help::VariableHelpEntry &entry : Help::variableHelpTable()) {
        for (const char c : entry.text) {
            const bool printable = c >= ' ' && c <= '~';
            QVERIFY2(printable || c == '\r' || c == '\n',
                     qPrintable(QStringLiteral("odd character in ") + QString(entry.key)));
        }
    }
}

void TestVariableHelp::variablesDatMatchesTable()
{
    QFile file(QStringLiteral(KORVID_RESOURCES_DIR "/Variables.dat"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray data = file.readAll();

    QVERIFY(data.endsWith("\r\n"));
    // Split on LF: every line must then end in CR, and no other CR or LF may appear.
    const QList<QByteArray> lines = data.chopped(1).split('\n');
    QStringList keys;
    for (QByteArray line : lines) {
        QVERIFY2(line.endsWith('\r'), line.constData());
        line.chop(1);
        QVERIFY2(!line.contains('\r'), line.constData());
        QVERIFY2(!line.isEmpty(), "blank line in Variables.dat");
        keys.append(QString::fromLatin1(line));
    }

    QCOMPARE(keys.size(), qsizetype(Help::variableHelpTable().size()));
    for (qsizetype i = 1; i < keys.size(); ++i) {
        QVERIFY2(QString::compare(keys.at(i - 1), keys.at(i), Qt::CaseInsensitive) < 0,
                 qPrintable(keys.at(i - 1) + QStringLiteral(" before ") + keys.at(i)));
    }

    QStringList sortedFile = keys;
    QStringList sortedTable = tableKeys();
    sortedFile.sort(Qt::CaseSensitive);
    sortedTable.sort(Qt::CaseSensitive);
    QCOMPARE(sortedFile, sortedTable);
}

QTEST_GUILESS_MAIN(TestVariableHelp)
#include "tst_variablehelp.moc"
