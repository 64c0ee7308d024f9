#include "help/KnownVariables.h"
#include "help/VariableHelp.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using Help::Engine;
using Help::Engines;
using Help::ValueNote;
using Help::ValueType;
using Help::variableHelpText;

namespace {
const QString CommentedOut = QStringLiteral("This variable is commented out, therefore ignored when run within TA. ");
const QString NoHelp = QStringLiteral("No help available for the selected variable. Variable may spelled incorrectly.");

// "OTSR" and any part of it: the original game, TA3D, Spring, RWE.
Engines enginesOf(const QString &letters)
{
    Engines engines;
    for (const QChar c : letters) {
        engines |= c == u'O' ? Engine::OriginalGame : c == u'T' ? Engine::Ta3d : c == u'S' ? Engine::Spring : Engine::Rwe;
    }
    return engines;
}


// A fact stands in a text as a word of its own: "1" does not match inside "1.5" or "10".
bool says(const QString &text, const QString &fact)
{
    return QRegularExpression("(?<![\\w.])" + QRegularExpression::escape(fact) + "(?![\\w]|\\.\\d)").match(text).hasMatch();
}
}

class TestVariableHelp : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void textFacts_data();
    void textFacts();
    void springOnlyKeysSaySo();
    void numberedKeys_data();
    void numberedKeys();
    void listedKeys();
    void addList_data();
    void addList();
    void valueNotes_data();
    void valueNotes();
    void placeholder_data();
    void placeholder();
    void overriddenRow();
    void engineNames_data();
    void engineNames();
    void knownVariables_data();
    void knownVariables();
    void knownVariablesRefused_data();
    void knownVariablesRefused();
    void shippedVariablesHaveHelp();
};

// Which help a name gets: that of the key in the second column, or none, or the commented-out text.
void TestVariableHelp::lookup_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    const QString none = QStringLiteral("<none>");
    const QString commented = QStringLiteral("<commented>");
    QTest::newRow("exact key") << "Acceleration" << "Acceleration";
    QTest::newRow("lower case") << "maxdamage" << "MaxDamage";
    QTest::newRow("upper case") << "WPRI_BADTARGETCATEGORY" << "wpri_badTargetCategory";
    QTest::newRow("mixed case") << "zBuFfEr" << "ZBuffer";
    QTest::newRow("key of the last round") << "BUILDPIC" << "buildpic";
    QTest::newRow("key real mods use") << "AirSightDistance" << "airsightdistance";
    QTest::newRow("numbered key, other case") << "WEAPON7" << "Weapon7";
    QTest::newRow("numbered key, first slot") << "OnlyTargetCategory1" << "onlytargetcategory1";
    QTest::newRow("exact row before its family") << "weapon2" << "Weapon2";
    QTest::newRow("leading blank") << " Acceleration" << none;
    QTest::newRow("trailing blank") << "Acceleration " << none;
    QTest::newRow("prefix of a key") << "Accel" << none;
    QTest::newRow("key with more after it") << "Accelerations" << none;
    // U+017F folds to "s" in Unicode, but the engines fold A to Z only.
    QTest::newRow("letter that folds to an ASCII one") << QString::fromUtf16(u"Maxſlope") << none;
    QTest::newRow("family without its number") << "weaponmaindir" << none;
    QTest::newRow("slot 0") << "Weapon0" << none;
    QTest::newRow("leading zero") << "Weapon07" << none;
    QTest::newRow("past the last slot") << "Weapon33" << none;
    QTest::newRow("three digits") << "maxangledif100" << none;
    QTest::newRow("text after the number") << "onlytargetcategory1x" << none;
    QTest::newRow("non-ASCII digit") << QString::fromUtf16(u"Weapon\u0667") << none;
    QTest::newRow("commented-out key") << "//Acceleration" << commented;
    QTest::newRow("commented-out, other case") << "//ACCELERATION" << commented;
    QTest::newRow("two slashes alone") << "//" << commented;
    QTest::newRow("blank before the slashes") << " //Acceleration" << none;
    QTest::newRow("one slash") << "/" << none;
    QTest::newRow("empty") << "" << none;
}

void TestVariableHelp::lookup()
{
    QFETCH(QString, name);
    QFETCH(QString, key);
    const QString text = variableHelpText(name);
    if (key == u"<none>") {
        QCOMPARE(text, NoHelp);
        QCOMPARE(Help::valueType(name), ValueType::Unknown);
        QCOMPARE(Help::readers(name), Engines());
    } else if (key == u"<commented>") {
        QCOMPARE(text, CommentedOut);
        QCOMPARE(Help::valueType(name), ValueType::Unknown);
    } else {
        // The help's own example line names the key: the text belongs to that key and no other.
        QVERIFY2(text.contains("(" + key + "=", Qt::CaseInsensitive), qPrintable(text));
        QCOMPARE(text, variableHelpText(key));
        QVERIFY(Help::valueType(name) != ValueType::Unknown);
    }
}

// Facts the engines' source shows, as words each text must carry (a number, an engine, a default)
// and words it must not: a text that gets a fact wrong fails here.
void TestVariableHelp::textFacts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    QTest::newRow("WindGenerator: engines disagree, TA3D's factor")
        << "windgenerator" << QStringList{"Spring", "TA3D", "0.0002", "RWE"} << QStringList{"agree", "5000"};
    QTest::newRow("transportcapacity: Spring counts widths") << "TRANSPORTCAPACITY" << QStringList{"Spring", "FootprintX", "TA3D"}
                                                            << QStringList();
    QTest::newRow("MetalMake: TA3D only while on") << "metalmake" << QStringList{"TA3D", "Spring", "MetalUse"}
                                                  << QStringList{"even while switched off."};
    QTest::newRow("onoffable: Spring's tidal power") << "OnOffable" << QStringList{"Spring", "TA3D", "tidal"} << QStringList();
    QTest::newRow("TidalGenerator: a flag in TA3D") << "tidalgenerator" << QStringList{"Spring", "TA3D", "flag"} << QStringList();
    QTest::newRow("MaxSlope: current Spring, degrees") << "maxslope" << QStringList{"degrees", "89", "255"}
                                                      << QStringList{"Old versions of Spring"};
    QTest::newRow("canbuild: Spring from 0.73") << "CanBuild" << QStringList{"0.73", "0.79", "TA3D"} << QStringList{"0.76"};
    QTest::newRow("canresurrect: structures too") << "canresurrect" << QStringList{"5%", "30%", "Spring"}
                                                 << QStringList{"only mobile builders"};
    QTest::newRow("altfromsealevel: TA3D's Floater") << "altfromsealevel" << QStringList{"TA3D", "Floater", "1"}
                                                    << QStringList{"minimum"};
    QTest::newRow("ExtractsMetal: the +1 of the original game") << "extractsmetal" << QStringList{"TA3D", "RWE", "+ 1"}
                                                               << QStringList();
    QTest::newRow("BuildTime: work, not seconds") << "buildtime" << QStringList{"WorkerTime", "17", "100"} << QStringList();
    QTest::newRow("canguard: Spring's default") << "CANGUARD" << QStringList{"Spring", "1"} << QStringList();
    QTest::newRow("canpatrol: Spring's default") << "canpatrol" << QStringList{"Spring", "1"} << QStringList();
    QTest::newRow("UnitName: Spring uses the file name") << "unitname" << QStringList{"Spring", "file"} << QStringList();
    QTest::newRow("canload: Spring's transports") << "canload" << QStringList{"Spring", "transportcapacity"} << QStringList();
    QTest::newRow("ShowPlayerName: Spring and RWE") << "showplayername" << QStringList{"Spring", "RWE"} << QStringList();
    QTest::newRow("StandingFireOrder: defaults") << "standingfireorder" << QStringList{"TA3D", "1", "2", "fireState"}
                                                << QStringList();
    QTest::newRow("TEDClass: TA3D's load orders") << "tedclass" << QStringList{"TA3D", "SHIP", "COMMANDER", "PLANT"}
                                                 << QStringList();
    QTest::newRow("HealTime: TA3D's full heal") << "healtime" << QStringList{"30", "TA3D", "Spring", "3.75"} << QStringList();
    QTest::newRow("airsightdistance: default") << "airsightdistance" << QStringList{"1.5", "SightDistance"} << QStringList();
    QTest::newRow("levelground: default") << "levelground" << QStringList{"0", "1"} << QStringList();
    QTest::newRow("cancloak: default from CloakCost") << "cancloak" << QStringList{"CloakCost"} << QStringList();
    QTest::newRow("radaremitheight: default") << "radaremitheight" << QStringList{"losemitheight"} << QStringList();
    QTest::newRow("ground decal size: default") << "buildinggrounddecalsizex" << QStringList{"4"} << QStringList();
    QTest::newRow("ground decal fading: default") << "buildinggrounddecaldecayspeed" << QStringList{"0.1"} << QStringList();
    QTest::newRow("modelcenteroffset: up to 88.0") << "modelcenteroffset" << QStringList{"88.0"} << QStringList();
    QTest::newRow("script: default") << "script" << QStringList{".cob", "scripts/"} << QStringList();
    QTest::newRow("capturespeed: default") << "capturespeed" << QStringList{"WorkerTime", "CanCapture"} << QStringList();
    QTest::newRow("canmanualfire: older name") << "canmanualfire" << QStringList{"CanDgun"} << QStringList();
    QTest::newRow("minairbasepower: up to 100.0") << "minairbasepower" << QStringList{"100.0"} << QStringList();
    QTest::newRow("hightrajectory: three values") << "hightrajectory" << QStringList{"0", "1", "2"} << QStringList();
    QTest::newRow("maxrudder: default") << "maxrudder" << QStringList{"0.004"} << QStringList();
    QTest::newRow("mincollisionspeed: default") << "mincollisionspeed" << QStringList{"1"} << QStringList();
    QTest::newRow("turnradius: defaults") << "turnradius" << QStringList{"500", "1000"} << QStringList();
    QTest::newRow("maxbank: default") << "maxbank" << QStringList{"0.8"} << QStringList();
    QTest::newRow("maxpitch: default") << "maxpitch" << QStringList{"0.45"} << QStringList();
    QTest::newRow("flankingbonusmax: default") << "flankingbonusmax" << QStringList{"1.9"} << QStringList();
    QTest::newRow("flankingbonusmin: default") << "flankingbonusmin" << QStringList{"0.9"} << QStringList();
    QTest::newRow("flankingbonusmode: modes") << "flankingbonusmode" << QStringList{"0", "1", "2", "3"} << QStringList();
    QTest::newRow("maxfuel: gone in 106") << "maxfuel" << QStringList{"106"} << QStringList();
    QTest::newRow("idletime: default") << "idletime" << QStringList{"600", "20"} << QStringList();
    QTest::newRow("idleautoheal: default") << "idleautoheal" << QStringList{"10"} << QStringList();
    QTest::newRow("mass: transport limit") << "mass" << QStringList{"100000"} << QStringList();
    QTest::newRow("NoAutoFire: TA3D still fires") << "noautofire" << QStringList{"TA3D", "Spring"} << QStringList();
}

void TestVariableHelp::textFacts()
{
    QFETCH(QString, key);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    const QString text = variableHelpText(key);
    QVERIFY2(text != NoHelp, qPrintable(key));
    for (const QString &fact : present)
        QVERIFY2(says(text, fact), qPrintable(fact + " missing from: " + text));
    for (const QString &wrong : absent)
        QVERIFY2(!text.contains(wrong), qPrintable(wrong + " found in: " + text));
}

// A key that only Spring reads says so, and says that the others do not read it.
void TestVariableHelp::springOnlyKeysSaySo()
{
    int springOnly = 0;
    for (const QString &key : Help::keysWithHelp()) {
        if (Help::readers(key) != Engines(Engine::Spring))
            continue;
        ++springOnly;
        const QString text = variableHelpText(key);
        QVERIFY2(text.contains(u"Spring"), qPrintable(key));
        QVERIFY2(text.contains(u"do not read") || text.contains(u"ignore"), qPrintable(key + ": " + text));
    }
    QVERIFY(springOnly > 50);
}

// Every slot from 1 to 17, the highest real files use, gets its family's text with its own number.
void TestVariableHelp::numberedKeys_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("slot");
    QTest::addColumn<ValueType>("type");
    QTest::addColumn<bool>("ta3dShifted");
    const struct {
        const char *prefix;
        ValueType type;
        bool ta3dShifted;
    } families[] = {
        {"WEAPON", ValueType::Name, false},
        {"badtargetcategory", ValueType::CategoryList, false},
        {"OnlyTargetCategory", ValueType::CategoryList, false},
        {"weaponMainDir", ValueType::ThreeNumbers, true},
        {"MaxAngleDif", ValueType::Decimal, true},
    };
    for (const auto &family : families) {
        for (int slot = 1; slot <= 17; ++slot) {
            const QString name = QLatin1String(family.prefix) + QString::number(slot);
            QTest::addRow("%s", qPrintable(name)) << name << slot << family.type << family.ta3dShifted;
        }
    }
}

void TestVariableHelp::numberedKeys()
{
    QFETCH(QString, name);
    QFETCH(int, slot);
    QFETCH(ValueType, type);
    QFETCH(bool, ta3dShifted);
    const QString text = variableHelpText(name);
    QVERIFY2(text.contains("(" + name + "=", Qt::CaseInsensitive), qPrintable(text));
    QVERIFY2(!text.contains(u'{'), qPrintable(text));
    QCOMPARE(Help::valueType(name), type);
    if (slot > 3 || !name.startsWith(u"WEAPON"))
        QVERIFY2(says(text, QString::number(slot)) || text.contains("Weapon" + QString::number(slot)), qPrintable(text));
    if (ta3dShifted)
        QVERIFY2(text.contains("weapon " + QString::number(slot + 1)), qPrintable(text));
}

// Help Topics lists every key once, in alphabetical order, each with help, a type and an example.
void TestVariableHelp::listedKeys()
{
    const QStringList keys = Help::keysWithHelp();
    QStringList sorted = keys;
    sorted.sort(Qt::CaseInsensitive);
    QCOMPARE(keys, sorted);
    QSet<QString> folded;
    const QStringList singleLine{"Canfly", "Copyright", "MoveRate1"};
    for (const QString &key : keys) {
        folded.insert(key.toLower());
        const QString text = variableHelpText(key);
        const QRegularExpression shape(QRegularExpression::anchoredPattern(
            singleLine.contains(key) ? QStringLiteral("[^\r\n]+")
                                     : "\\S[^\r\n]*\\S\r\n\\(" + QRegularExpression::escape(key) + "=[^;\r\n]+;\\)"));
        QVERIFY2(shape.match(text).hasMatch(), qPrintable(text));
        QVERIFY2(Help::valueType(key) != ValueType::Unknown, qPrintable(key));
    }
    QCOMPARE(folded.size(), keys.size());
    for (const char *key : {"Weapon4", "Weapon6", "badTargetCategory1", "weaponmaindir3", "buildpic", "maxfuel"})
        QVERIFY2(keys.contains(QLatin1String(key)), key);
}

void TestVariableHelp::addList_data()
{
    QTest::addColumn<QStringList>("known");
    QTest::addColumn<QStringList>("expectedSpellings");
    QTest::newRow("nothing known") << QStringList() << QStringList{"buildpic", "Acceleration"};
    QTest::newRow("the file's spelling wins") << QStringList{"SIDE", "maxdamage"} << QStringList{"SIDE", "maxdamage"};
    QTest::newRow("own names and blank lines") << QStringList{"", "MyKey", "mykey", " Spaced "}
                                               << QStringList{"MyKey", " Spaced "};
    const KnownVariablesResult shipped = readKnownVariables(QStringLiteral(KORVID_RESOURCES_DIR "/Variables.dat"));
    QTest::newRow("the shipped list") << shipped.names << QStringList{"Acceleration", "buildpic", "Weapon1"};
}

void TestVariableHelp::addList()
{
    QFETCH(QStringList, known);
    QFETCH(QStringList, expectedSpellings);
    const QStringList names = Help::addList(known);
    QVERIFY(!names.contains(QString()));
    QStringList sorted = names;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QCOMPARE(names, sorted);
    QSet<QString> folded;
    for (const QString &name : names)
        folded.insert(name.toLower());
    QCOMPARE(folded.size(), names.size());
    for (const QString &key : Help::keysWithHelp() + known) {
        if (!key.isEmpty())
            QVERIFY2(folded.contains(key.toLower()), qPrintable(key));
    }
    for (const QString &spelling : expectedSpellings)
        QVERIFY2(names.contains(spelling), qPrintable(spelling));
}

// Real-looking values and the engines each one troubles: one group of letters per note, in order.
void TestVariableHelp::valueNotes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("notes");
    QTest::addColumn<QString>("says");
    QTest::newRow("sight with a fraction: TA3D's default") << "SightDistance" << "367.5" << QStringList{"T"} << "default";
    QTest::newRow("sight, whole") << "sightdistance" << "290" << QStringList() << "";
    QTest::newRow("footprint 4.5: every engine") << "FootprintX" << "4.5" << QStringList{"OTSR"} << "becomes 4";
    QTest::newRow("footprint 3.2, other case") << "FOOTPRINTZ" << "3.2" << QStringList{"OTSR"} << "becomes 3";
    QTest::newRow("negative fraction drops toward 0") << "FootprintX" << "-4.5" << QStringList{"OTSR"} << "becomes -4";
    QTest::newRow("footprint with a zero fraction") << "FootprintX" << "4.0" << QStringList() << "";
    QTest::newRow("countdown of half a second") << "selfdestructcountdown" << "0.5" << QStringList{"OS"} << "becomes 0";
    QTest::newRow("version that is no number") << "Version" << "VX2.0" << QStringList{"O"} << "\"VX2.0\"";
    QTest::newRow("metal maker fraction") << "MakesMetal" << ".6" << QStringList{"O"} << "becomes 0";
    QTest::newRow("waterline fraction") << "WaterLine" << "0.3" << QStringList{"O"} << "becomes 0";
    QTest::newRow("energy make fraction: TA3D truncates") << "EnergyMake" << "0.5" << QStringList{"T"} << "becomes 0";
    QTest::newRow("wind fraction: TA3D and RWE") << "windgenerator" << "2.5" << QStringList{"TR"} << "becomes 2";
    QTest::newRow("tidal fraction: TA3D's flag") << "TidalGenerator" << "0.5" << QStringList{"T"} << "flag";
    QTest::newRow("radar fraction: Spring's whole number") << "RadarDistance" << "400.5" << QStringList{"S"} << "becomes 400";
    QTest::newRow("cost fraction that Spring reads") << "BuildCostEnergy" << "331.5" << QStringList() << "";
    QTest::newRow("turn rate fraction that Spring reads") << "TurnRate" << "169.4" << QStringList() << "";
    QTest::newRow("decimal comma") << "MaxVelocity" << "1,9" << QStringList{"OTSR"} << "not one";
    QTest::newRow("word for a number") << "MaxDamage" << "lots" << QStringList{"OTSR"} << "not one";
    QTest::newRow("empty number") << "MaxDamage" << "" << QStringList{"OTSR"} << "empty";
    QTest::newRow("negative whole number") << "BuildAngle" << "-8192" << QStringList() << "";
    QTest::newRow("number without leading digit") << "idleautoheal" << ".5" << QStringList() << "";
    QTest::newRow("huge number") << "mass" << "999999999999" << QStringList() << "";
    QTest::newRow("flag true") << "Builder" << "true" << QStringList{"OR"} << "1 instead of true";
    QTest::newRow("flag TRUE") << "floater" << "TRUE" << QStringList{"OR"} << "1 instead of true";
    QTest::newRow("flag false") << "Builder" << "false" << QStringList{"R"} << "0 instead of false";
    QTest::newRow("Spring-only flag true") << "canrepeat" << "true" << QStringList() << "";
    QTest::newRow("flag 2: the lowest bit") << "Floater" << "2" << QStringList{"O"} << "lowest bit";
    QTest::newRow("flag 7") << "canstop" << "7" << QStringList() << "";
    QTest::newRow("flag 2 the original game does not read") << "canrepeat" << "2" << QStringList() << "";
    QTest::newRow("flag 0 with blanks") << "canload" << " 0\t" << QStringList() << "";
    QTest::newRow("flag word") << "Builder" << "yes" << QStringList{"OTSR"} << "neither";
    QTest::newRow("flag empty") << "Builder" << "" << QStringList{"OTSR"} << "empty";
    QTest::newRow("flag fraction") << "canhover" << "0.5" << QStringList{"OTR"} << "0.5";
    QTest::newRow("three numbers") << "collisionvolumescales" << "28 45 20" << QStringList() << "";
    QTest::newRow("three numbers with a tab") << "collisionvolumescales" << "36 30\t38" << QStringList() << "";
    QTest::newRow("three signed numbers") << "weaponmaindir2" << "0 -1 0.5" << QStringList() << "";
    QTest::newRow("two numbers") << "collisionvolumescales" << "28 45" << QStringList{"S"} << "three numbers";
    QTest::newRow("commas") << "collisionvolumeoffsets" << "0,-2,0" << QStringList{"S"} << "\"0,-2,0\"";
    QTest::newRow("four numbers: Spring and TA3D differ") << "WeaponMainDir3" << "0 -1 0 1" << QStringList{"S", "T"}
                                                        << "three";
    QTest::newRow("two numbers for a direction") << "weaponmaindir12" << "0 1" << QStringList{"TS"} << "three";
    QTest::newRow("text") << "Description" << "Fast Assault Tank" << QStringList() << "";
    QTest::newRow("name that looks like a number") << "Weapon1" << "1.5" << QStringList() << "";
    QTest::newRow("key without help") << "FooBar" << "x" << QStringList() << "";
    QTest::newRow("commented-out key") << "//MaxDamage" << "x" << QStringList() << "";
}

void TestVariableHelp::valueNotes()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QStringList, notes);
    QFETCH(QString, says);
    const QList<ValueNote> found = Help::valueNotes(name, value);
    QStringList messages;
    for (const ValueNote &note : found)
        messages.append(note.message);
    QVERIFY2(found.size() == notes.size(), qPrintable(messages.join(u'|')));
    for (qsizetype i = 0; i < found.size(); ++i) {
        QCOMPARE(found[i].kind, ValueNote::Kind::Misread);
        QCOMPARE(found[i].engines, enginesOf(notes[i]));
        // The note names exactly the engines it is about.
        QVERIFY2(found[i].message.startsWith(Help::engineNames(found[i].engines), Qt::CaseInsensitive),
                 qPrintable(found[i].message));
    }
    if (!says.isEmpty())
        QVERIFY2(messages.join(u' ').contains(says), qPrintable(messages.join(u'|')));
    QCOMPARE(Help::valueHint(name, value), messages.join(u' '));

    // A check of a mod for one engine keeps exactly the notes that name it.
    for (const Engine engine : {Engine::OriginalGame, Engine::Ta3d, Engine::Spring, Engine::Rwe}) {
        QList<ValueNote> forEngine;
        for (const ValueNote &note : found) {
            if (note.engines.testFlag(engine))
                forEngine.append(note);
        }
        QCOMPARE(Help::valueNotes(name, value, engine), forEngine);
    }
}

void TestVariableHelp::placeholder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("isPlaceholder");
    QTest::newRow("as a new row holds it") << "MaxDamage" << Help::placeholderValue() << true;
    QTest::newRow("typed in another case, with blanks") << "Description" << "  change this\t" << true;
    QTest::newRow("key without help") << "FooBar" << "Change This" << true;
    QTest::newRow("another text") << "Description" << "Change That" << false;
    QTest::newRow("inside a longer text") << "Description" << "Change This unit" << false;
}

void TestVariableHelp::placeholder()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(bool, isPlaceholder);
    QCOMPARE(Help::isPlaceholder(value), isPlaceholder);
    const QList<ValueNote> notes = Help::valueNotes(name, value);
    if (isPlaceholder) {
        QCOMPARE(notes.size(), 1);
        QCOMPARE(notes[0].kind, ValueNote::Kind::Placeholder);
        QCOMPARE(notes[0].engines, Help::readers(name));
        QVERIFY(notes[0].message.contains(Help::placeholderValue()));
        QCOMPARE(Help::valueNotes(name, value, Engine::Rwe), notes);
    } else {
        QVERIFY(notes.isEmpty());
    }
}

void TestVariableHelp::overriddenRow()
{
    const QString text = Help::overriddenHelpText(u"buildangle", 12);
    QVERIFY2(says(text, "12"), qPrintable(text));
    for (const char *engine : {"TA3D", "Spring", "RWE"})
        QVERIFY2(text.contains(QLatin1String(engine)), qPrintable(text));
    QVERIFY(text.endsWith(variableHelpText(u"BuildAngle")));
    QVERIFY(text.size() > variableHelpText(u"BuildAngle").size());
    QVERIFY(Help::overriddenHelpText(u"FooBar", 3).endsWith(NoHelp));
}

void TestVariableHelp::engineNames_data()
{
    QTest::addColumn<QString>("letters");
    QTest::addColumn<QString>("names");
    QTest::newRow("none") << "" << "";
    QTest::newRow("one") << "O" << "The original game";
    QTest::newRow("two") << "TS" << "TA3D and Spring";
    QTest::newRow("three, the original game first") << "ORT" << "The original game, TA3D and RWE";
    QTest::newRow("all") << "OTSR" << "The original game, TA3D, Spring and RWE";
}

void TestVariableHelp::engineNames()
{
    QFETCH(QString, letters);
    QFETCH(QString, names);
    QCOMPARE(Help::engineNames(enginesOf(letters)), names);
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

// The list that ships beside the program stays as it is, and every name in it has help and a type.
void TestVariableHelp::shippedVariablesHaveHelp()
{
    const KnownVariablesResult shipped = readKnownVariables(QStringLiteral(KORVID_RESOURCES_DIR "/Variables.dat"));
    QVERIFY(shipped.ok);
    QCOMPARE(shipped.names.size(), 135);
    for (const QString &name : shipped.names) {
        QVERIFY2(variableHelpText(name) != NoHelp, qPrintable(name));
        QVERIFY2(Help::valueType(name) != ValueType::Unknown, qPrintable(name));
    }
}

QTEST_GUILESS_MAIN(TestVariableHelp)
#include "tst_variablehelp.moc"
