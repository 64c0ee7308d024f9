#include "help/VariableHelp.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

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
    void keysInOrderAndInVariablesDat();
    void everyRowsShape();
};

void TestVariableHelp::lookup_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("exact key") << "Acceleration" << "How fast the unit accelerates.\r\n(Acceleration=0.895;)";
    QTest::newRow("one-line text") << "BuildTime" << "The time it takes to build the unit. (BuildTime=9894;)";
    QTest::newRow("text without example")
        << "Copyright" << "DO NOT touch this! Your unit will not work if this is changed!";
    QTest::newRow("other case") << "acceleration" << NoHelp;
    QTest::newRow("leading blank") << " Acceleration" << NoHelp;
    QTest::newRow("trailing blank") << "Acceleration " << NoHelp;
    QTest::newRow("prefix of a key") << "Accel" << NoHelp;
    QTest::newRow("commented-out key") << "//Acceleration" << CommentedOut;
    QTest::newRow("two slashes alone") << "//" << CommentedOut;
    QTest::newRow("blank before the slashes") << " //Acceleration" << NoHelp;
    QTest::newRow("one slash") << "/" << NoHelp;
    QTest::newRow("one letter") << "A" << NoHelp;
    QTest::newRow("empty") << "" << NoHelp;
}

void TestVariableHelp::lookup()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(VariableHelpText(name), expected);
}

// The keys in the table's order, distinct ignoring case; the variables data file holds the same names,
// in case-insensitive order, each line ending in CR LF.
void TestVariableHelp::keysInOrderAndInVariablesDat()
{
    // The one place the full list is spelled out: the program shows the rows in this order.
    const QStringList expected = {
        "Acceleration", "ActivateWhenBuilt", "ai_limit", "ai_weight", "altfromsealevel", "amphibious", "antiweapons",
        "attackrunlength", "BMcode", "BadTargetCategory", "BankScale", "BrakeRate", "BuildAngle", "BuildCostEnergy",
        "BuildCostMetal", "BuildTime", "Builddistance", "Builder", "canattack", "CanCapture", "CanDgun", "Canfly",
        "canguard", "canhover", "canload", "canmove", "canpatrol", "CanReclamate", "canstop", "cantbetransported",
        "Category", "CloakCost", "CloakCostMoving", "Commander", "Copyright", "Corpse", "cruisealt", "DamageModifier",
        "DefaultMissionType", "Description", "Designation", "digger", "downloadable", "EnergyMake", "EnergyStorage",
        "EnergyUse", "ExplodeAs", "ExtractsMetal", "firestandorders", "Floater", "FootprintX", "FootprintZ",
        "Frenchdescription", "FrenchName", "GermanDescription", "GermanName", "HealTime", "HideDamage", "HoverAttack",
        "ImmuneToParalyzer", "init_cloaked", "IsAirBase", "IsFeature", "istargetingupgrade", "ItalianDescription",
        "ItalianName", "JapaneseDescription", "JapaneseName", "kamikaze", "kamikazedistance", "MakesMetal",
        "maneuverleashlength", "MaxDamage", "MaxSlope", "MaxVelocity", "MaxWaterDepth", "MetalMake", "MetalStorage",
        "mincloakdistance", "MinWaterDepth", "mobilestandorders", "MoveRate1", "MovementClass", "Name", "NoAutoFire",
        "NoChaseCategory", "norestrict", "NoShadow", "Objectname", "onoffable", "Ovradjust", "PigLatinDescription",
        "PigLatinName", "PitchScale", "RadarDistance", "RadarDistanceJam", "Scale", "SelfDestructAs",
        "selfdestructcountdown", "ShootMe", "ShowPlayerName", "Side", "SightDistance", "SonarDistance",
        "SonarDistanceJam", "sortbias", "SoundCategory", "SpanishDescription", "SpanishName", "StandingFireOrder",
        "StandingMoveOrder", "Stealth", "SteeringMode", "TEDClass", "teleporter", "ThreeD", "TidalGenerator",
        "TransMaxUnits", "transportcapacity", "transportsize", "TurnRate", "UnitName", "UnitNumber", "Upright",
        "Version", "WaterLine", "Weapon1", "Weapon2", "Weapon3", "WindGenerator", "WorkerTime",
        "wpri_badTargetCategory", "wsec_badTargetCategory", "YardMap", "ZBuffer",
    };
    QStringList keys;
    QSet<QString> folded;
    for (const Help::VariableHelpEntry &entry : Help::variableHelpTable()) {
        keys.append(QString(entry.key));
        folded.insert(keys.last().toCaseFolded());
    }
    QCOMPARE(keys, expected);
    QCOMPARE(folded.size(), 135);
    QFile file(QStringLiteral(KORVID_RESOURCES_DIR "/Variables.dat"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    QVERIFY(data.endsWith("\r\n"));
    keys.sort(Qt::CaseInsensitive);
    QCOMPARE(QString::fromLatin1(data.chopped(2)).split(QStringLiteral("\r\n")), keys);
}

// Every key finds its own text: a description, CR LF, then "(" key "=" value ";)"; four texts are one line.
void TestVariableHelp::everyRowsShape()
{
    const QStringList singleLine{"BuildTime", "Canfly", "Copyright", "MoveRate1"};
    for (const Help::VariableHelpEntry &entry : Help::variableHelpTable()) {
        const QString key(entry.key);
        const QString text = VariableHelpText(key);
        QCOMPARE(text, QString(entry.text));
        const QRegularExpression shape(QRegularExpression::anchoredPattern(
            singleLine.contains(key) ? QStringLiteral("[^\r\n]+")
                                     : "\\S[^\r\n]*\\S\r\n\\(" + QRegularExpression::escape(key) + "=[^;\r\n]+;\\)"));
        QVERIFY2(shape.match(text).hasMatch(), qPrintable(text));
    }
}

QTEST_GUILESS_MAIN(TestVariableHelp)
#include "tst_variablehelp.moc"
