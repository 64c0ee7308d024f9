#include "help/VariableHelp.h"

#include <algorithm>
#include <iterator>

namespace Help {

const QLatin1String CommentedOutHelpText(
    "This variable is commented out, therefore ignored when run within TA. ");
const QLatin1String DefaultHelpText(
    "No help available for the selected variable. Variable may spelled incorrectly.");

namespace {

struct VariableHelpEntry {
    QLatin1String key;
    ValueType type;
    QLatin1String text;
};

constexpr VariableHelpEntry row(const char *key, ValueType type, const char *text)
{
    return {QLatin1String(key), type, QLatin1String(text)};
}

// Each text is a description, CR LF, then an example line "(Key=value;)".
// BuildTime, Canfly, Copyright and MoveRate1 are single lines on purpose.
// "The original game" below means Cavedog's TotalA.exe 3.1; other engines
// (TA3D, Spring, RWE) are named where they behave differently.
// The rows stand in alphabetical order ignoring letter case, which the lookup relies on.
constexpr VariableHelpEntry helpTable[] = {
    row("Acceleration", ValueType::Decimal,
        "How fast the unit accelerates.\r\n"
        "(Acceleration=0.895;)"),
    row("ActivateWhenBuilt", ValueType::Flag,
        "Set to 1 to have the unit switch itself on as soon as it is finished. Generators, "
        "metal extractors, metal makers, radar and jammers only work while on; without this "
        "key the unit stays off until the player switches it on (needs onoffable) or its "
        "script does.\r\n"
        "(ActivateWhenBuilt=1;)"),
    row("ai_limit", ValueType::Text,
        "Meant to cap how many of this unit the computer player builds. Mods write it as a "
        "limit line of an ai profile: limit, the unit name and the count. No engine is known "
        "to read it (the original game stores the text unused; TA3D, Spring and RWE ignore "
        "it), so put real limits in the ai profile files.\r\n"
        "(ai_limit=limit ARMFLAK 5;)"),
    row("ai_weight", ValueType::Text,
        "Reportedly read like the lines of the computer player's ai profiles, e.g. weight "
        "ARMFLAK 0.5, which make the computer player more or less likely to build a unit. "
        "This is inferred from engine research and not confirmed; no stock unit uses it.\r\n"
        "(ai_weight=weight ARMFLAK 0.5;)"),
    row("altfromsealevel", ValueType::WholeNumber,
        "Nominal height above sea level. The original game appears to ignore it (aircraft fly "
        "at cruisealt); TA3D uses it as a minimum height over water. Stock aircraft set 1.\r\n"
        "(altfromsealevel=1;)"),
    row("amphibious", ValueType::Flag,
        "Lets an aircraft land on water; without it a landing aircraft needs dry ground under "
        "it. Stock files set it only on seaplanes. Old guides say it lets ground units go "
        "under water, but no engine code backs that up: a ground unit's water depth limits "
        "come from its MovementClass.\r\n"
        "(amphibious=1;)"),
    row("antiweapons", ValueType::Flag,
        "Marks an anti-missile unit. In the original game it only draws the coverage circle of "
        "the unit's interceptor weapon when selected; the weapon itself needs interceptor set "
        "in its weapon TDF to shoot missiles down. In TA3D it lets the unit's first weapon aim "
        "at projectiles.\r\n"
        "(antiweapons=1;)"),
    row("attackrunlength", ValueType::WholeNumber,
        "Bombers only: extra distance in world units added to the bomb release radius and to "
        "how far the plane overflies the target on each pass. Stock bombers use 100 to 290.\r\n"
        "(attackrunlength=120;)"),
    row("autoheal", ValueType::Decimal,
        "Spring: hit points the finished unit regains every second, in combat too, until it is "
        "back at full health; the default is 0. idleautoheal adds to it while the unit is "
        "idle, and Spring never reads HealTime. The original game, TA3D and RWE do not read "
        "it.\r\n"
        "(autoheal=4;)"),
    row("BadTargetCategory", ValueType::CategoryList,
        "A list of categories the unit should regard as poor targets, but no engine acts on "
        "this plain form: the original game does not read it, TA3D stores it unused and Spring "
        "reads only the per-weapon keys. Use wpri_badTargetCategory, wsec_badTargetCategory "
        "and wspe_badTargetCategory instead.\r\n"
        "(BadTargetCategory=NOWEAPON;)"),
    row("badTargetCategory1", ValueType::CategoryList,
        "Spring's numbered form of the list of targets weapon 1 avoids: it picks them only "
        "when nothing better is in reach. badTargetCategory2 and so on serve the later "
        "weapons, and weapon 4 and up have only this form. Since Spring 0.76 "
        "wpri_badTargetCategory wins when both are set. The original game, TA3D and RWE do not "
        "read it.\r\n"
        "(badTargetCategory1=VTOL;)"),
    row("BankScale", ValueType::Decimal,
        "How far an aircraft rolls into its turns: 0 means no banking, 1 is the normal amount "
        "and the default. Stock aircraft use 1 or 1.5.\r\n"
        "(BankScale=1;)"),
    row("BMcode", ValueType::Flag,
        "1 for a mobile unit, 0 for a structure. It decides whether the YardMap is used, how "
        "the unit is placed when ordered built and how it is drawn. Factories are structures "
        "(0) even though they set canmove.\r\n"
        "(BMcode=1;)"),
    row("BrakeRate", ValueType::Decimal,
        "How quickly the unit slows down, in world units per tick squared; for ground units it "
        "also sets the stopping distance. Aircraft use much larger values (around 9) because "
        "their flight model sheds speed with it. Never use 0 on a mobile unit: the game "
        "divides by it.\r\n"
        "(BrakeRate=0.3;)"),
    row("BuildAngle", ValueType::WholeNumber,
        "Gives a newly built unit, usually a structure, a slightly random facing: in the "
        "original game it faces south, turned at random by up to half this value either way "
        "(0 or 1 means exactly south). Angle units: 65536 is a full circle, so 8192 allows "
        "22.5 degrees either side.\r\n"
        "(BuildAngle=8192;)"),
    row("BuildCostEnergy", ValueType::WholeNumber,
        "Total energy needed to build the unit, drawn bit by bit as construction goes on.\r\n"
        "(BuildCostEnergy=870;)"),
    row("BuildCostMetal", ValueType::WholeNumber,
        "Total metal needed to build the unit, drawn bit by bit as construction goes on.\r\n"
        "(BuildCostMetal=106;)"),
    row("Builddistance", ValueType::WholeNumber,
        "How far, in world units, a mobile builder can reach to build, repair or reclaim. "
        "Construction aircraft also circle the job at this radius. Stock values run from 6 to "
        "100; old versions of Spring raise anything below 128 to 128.\r\n"
        "(Builddistance=60;)"),
    row("Builder", ValueType::Flag,
        "Set to 1 for units that build other units: factories, construction units and "
        "commanders. The game loads the unit's build list (its CANBUILD entries in "
        "sidedata.tdf) only when this is on.\r\n"
        "(Builder=1;)"),
    row("buildpic", ValueType::Name,
        "Spring: the build menu picture, a file in unitpics/ named with its extension, as none "
        "is added. Without the key Spring tries the unit's name with .dds, .png, .pcx and "
        ".bmp, then shows a red square. The original game, TA3D (which takes its pictures from "
        "anims/) and RWE do not read it.\r\n"
        "(buildpic=bug.png;)"),
    row("BuildTime", ValueType::WholeNumber,
        "The time it takes to build the unit. (BuildTime=9894;)"),
    row("canattack", ValueType::Flag,
        "Set to 1 to give the unit the Attack order. Mines and other units that should never "
        "be sent to attack use 0.\r\n"
        "(canattack=1;)"),
    row("canbuild", ValueType::Flag,
        "TA3D: another way to say Builder; the unit builds if either key is 1. Spring 0.76 to "
        "0.79 read it to no effect and later versions ignore it, as do the original game and "
        "RWE, so set Builder instead.\r\n"
        "(canbuild=1;)"),
    row("CanCapture", ValueType::Flag,
        "Set to 1 to let the unit take over enemy units with the Capture order. In the stock "
        "game only the two commanders can.\r\n"
        "(CanCapture=1;)"),
    row("CanDgun", ValueType::Flag,
        "Set to 1 to give the unit the D-gun order for manual firing. The shot comes from "
        "whichever weapon has commandfire set in its weapon TDF; stock units keep it in "
        "Weapon3.\r\n"
        "(CanDgun=1;)"),
    row("canfight", ValueType::Flag,
        "Spring: gives the unit the Fight order, which moves it and engages whatever it meets "
        "on the way; builders also reclaim or resurrect wrecks they pass. The default is 1; 0 "
        "removes the order. The original game, TA3D and RWE do not read it.\r\n"
        "(canfight=0;)"),
    row("Canfly", ValueType::Flag,
        "Set to 1 to make the unit an aircraft: it flies at cruisealt, takes off and lands, "
        "and needs no MovementClass. (Canfly=1;)"),
    row("canguard", ValueType::Flag,
        "Set to 1 to give the unit the Guard order.\r\n"
        "(canguard=1;)"),
    row("canhover", ValueType::Flag,
        "Set to 1 for hovercraft: the unit travels over water as well as land, takes no water "
        "damage and keeps its full speed on water. Give it a TANKHOVER movement class, which "
        "still decides where it can go.\r\n"
        "(canhover=1;)"),
    row("canload", ValueType::Flag,
        "Set to 1 to make the unit a transport that can pick up other units; see also "
        "transportcapacity and transportsize.\r\n"
        "(canload=1;)"),
    row("canmove", ValueType::Flag,
        "Set to 1 to give the unit the Move order. It does not make the unit mobile by itself "
        "(MaxVelocity, BMcode and MovementClass do that): factories set it so a Move order "
        "places their rally point.\r\n"
        "(canmove=1;)"),
    row("canpatrol", ValueType::Flag,
        "Set to 1 to give the unit the Patrol order.\r\n"
        "(canpatrol=1;)"),
    row("CanReclamate", ValueType::Flag,
        "Set to 1 to let the unit reclaim wrecks, features and units, turning them into metal "
        "or energy.\r\n"
        "(CanReclamate=1;)"),
    row("canrepeat", ValueType::Flag,
        "Spring: gives the unit the Repeat button, which loops its order queue. The default is "
        "1; with 0 the button is missing and repeat orders are refused. The original game, "
        "TA3D and RWE do not read it.\r\n"
        "(canrepeat=0;)"),
    row("canresurrect", ValueType::Flag,
        "Lets a builder bring a wreck back as a working unit. The original game reads it (the "
        "stock Necro has it); engine research says the unit returns finished with 1 hit point "
        "after about 30% of its usual build time. In Spring only mobile builders with "
        "WorkerTime above 0 can do it, paying energy only, and the unit comes back at 5% "
        "health; TA3D revives it with almost no health and then repairs it. RWE does not read "
        "it.\r\n"
        "(canresurrect=1;)"),
    row("canstop", ValueType::Flag,
        "Set to 1 to give the unit the Stop order. Nearly every stock unit has it; mines use "
        "0.\r\n"
        "(canstop=1;)"),
    row("cantbetransported", ValueType::Flag,
        "Set to 1 to keep transports from loading the unit, as on the heaviest stock kbots "
        "such as the Krogoth.\r\n"
        "(cantbetransported=1;)"),
    row("Category", ValueType::CategoryList,
        "The category class of the unit. See totala1.hpi for examples.\r\n"
        "(Category=ARM TANK LEVEL2 NOTAIR NOTSUB;)"),
    row("CloakCost", ValueType::WholeNumber,
        "Energy drained per second while the unit stays cloaked standing still. Any value "
        "above 0 gives the unit the Cloak order; if the owner cannot pay the full amount, the "
        "cloak drops.\r\n"
        "(CloakCost=200;)"),
    row("CloakCostMoving", ValueType::WholeNumber,
        "Energy drained per second while the unit stays cloaked on the move. Without this key "
        "the original game charges the CloakCost value.\r\n"
        "(CloakCostMoving=1000;)"),
    row("collide", ValueType::Flag,
        "Spring, aircraft only: with 1, the default, the aircraft watches for units ahead and "
        "collides with them; with 0 it flies through other units. Ground units ignore it. The "
        "original game, TA3D and RWE do not read it.\r\n"
        "(collide=0;)"),
    row("collisionvolumeoffsets", ValueType::ThreeNumbers,
        "Spring: moves the hit volume away from the model's centre, in elmos (1 elmo is 1 "
        "world unit) along the unit's side, up and forward axes; the default is 0 0 0. It also "
        "moves the selection volume, and does nothing when Spring falls back to its default "
        "sphere. The original game, TA3D and RWE do not read it.\r\n"
        "(collisionvolumeoffsets=0 -2 0;)"),
    row("collisionvolumescales", ValueType::ThreeNumbers,
        "Spring 0.77 and later: the size of the hit volume that shots and hit tests use, as "
        "full lengths in elmos along the unit's side, up and forward axes. Each number counts "
        "as at least 1; if all three are 1 or less, the key is missing or it is not three "
        "numbers separated by blanks, Spring uses a sphere the size of the model and ignores "
        "the type and offsets. The original game, TA3D and RWE do not read it.\r\n"
        "(collisionvolumescales=28 45 20;)"),
    row("collisionvolumetest", ValueType::Flag,
        "Spring 0.77 to 89.0: how shots are tested against the hit volume: 0, the default, "
        "once per frame, which fast shots can slip through; 1 along their whole path. Spring "
        "90.0 and later always test the whole path and ignore the key. The original game, TA3D "
        "and RWE do not read it.\r\n"
        "(collisionvolumetest=1;)"),
    row("collisionvolumetype", ValueType::Name,
        "Spring: the shape of the hit volume. Since 92.0 only the first letter counts: E "
        "ellipsoid, C cylinder, B box, anything else a sphere; a cylinder's last letter, X, Y "
        "or Z, gives its long axis (Z otherwise). Older versions look for ell, cyl or box in "
        "the name, so there sphere and misspellings such as colY give a default shape. The "
        "original game, TA3D and RWE do not read it.\r\n"
        "(collisionvolumetype=CylY;)"),
    row("Commander", ValueType::Flag,
        "Set to 1 on commanders. Losing a commander counts for the commander-killed win and "
        "loss rules, and the game also checks it when resources are shared.\r\n"
        "(Commander=1;)"),
    row("Copyright", ValueType::Text,
        "DO NOT touch this! Your unit will not work if this is changed!"),
    row("Corpse", ValueType::Name,
        "The feature from features/*.tdf that is left as a wreck when the unit dies; a missing "
        "or unknown name leaves nothing. For units with IsFeature set it is the feature the "
        "unit becomes once built.\r\n"
        "(Corpse=armflash_dead;)"),
    row("cruisealt", ValueType::WholeNumber,
        "Flying height of an aircraft above the ground below it, in world units; it also "
        "affects where bombers release their bombs. Stock aircraft use 50 to 220.\r\n"
        "(cruisealt=160;)"),
    row("DamageModifier", ValueType::Decimal,
        "Multiplies the damage the unit takes, but only while its script has put it in the "
        "armored state, such as a closed solar collector or a lowered pop-up gun. 1 means "
        "full damage and 0.5 half; while the unit is open it takes normal damage.\r\n"
        "(DamageModifier=0.5;)"),
    row("DefaultMissionType", ValueType::Name,
        "What the unit does whenever it has no orders left: Standby for most units, "
        "VTOL_standby for aircraft, GUARD_NOMOVE for gun turrets, Standby_Mine for mines. "
        "Case does not matter; an unknown value leaves the unit with no default task.\r\n"
        "(DefaultMissionType=Standby;)"),
    row("Description", ValueType::Text,
        "Short text about the unit's role, shown in the status bar and tooltips; the original "
        "game keeps up to 63 characters. Language keys such as GermanDescription replace it "
        "in other languages.\r\n"
        "(Description=Fast Assault Tank;)"),
    row("Designation", ValueType::Name,
        "A serial or model code, such as FAT3. The original game and Spring ignore it, but "
        "TA3D registers it as a second name for the unit, used where build lists and build "
        "menus look units up: a Designation equal to another unit's UnitName can make TA3D "
        "pick the wrong unit.\r\n"
        "(Designation=FAT3;)"),
    row("digger", ValueType::Flag,
        "For pop-up turrets that sit partly in the ground: the original game does not draw "
        "any part of the model at or below ground level (the model's origin). TA3D ignores "
        "it.\r\n"
        "(digger=1;)"),
    row("downloadable", ValueType::Flag,
        "Marks an add-on (downloaded) unit. The original game reportedly switches it on by "
        "itself for any unit listed in a download/*.tdf build menu, so leaving it out should "
        "do no harm.\r\n"
        "(downloadable=1;)"),
    row("EnergyMake", ValueType::Decimal,
        "Energy the unit produces every second once it is finished, even while switched off. "
        "Stock mobile units often make exactly their EnergyUse, so their upkeep costs "
        "nothing.\r\n"
        "(EnergyMake=25;)"),
    row("EnergyStorage", ValueType::Decimal,
        "Added to the owner's maximum energy storage while the finished unit exists.\r\n"
        "(EnergyStorage=3000;)"),
    row("EnergyUse", ValueType::Decimal,
        "Energy the unit uses every second while working: structures only while switched on, "
        "mobile units nearly all the time. A negative value produces energy instead, but only "
        "while the unit is on; stock solar and fusion plants work this way.\r\n"
        "(EnergyUse=60;)"),
    row("ExplodeAs", ValueType::Name,
        "The weapon, by its name in weapons/*.tdf, that goes off when the unit is destroyed. "
        "An unknown name means no explosion.\r\n"
        "(ExplodeAs=BIG_UNITEX;)"),
    row("ExtractsMetal", ValueType::Decimal,
        "Makes the unit a metal extractor. When it is created, its rate is worked out once as "
        "this value times the sum of (metal value + 1) over the map cells under its "
        "footprint; it yields that much metal per second while on and while its EnergyUse is "
        "paid.\r\n"
        "(ExtractsMetal=0.001;)"),
    row("firestandorders", ValueType::Flag,
        "Set to 1 if the unit should follow the fire orders (hold fire, return fire, fire at "
        "will); units with 0 are skipped when such an order is given. Only 0 and 1 make "
        "sense: older guides mention 2, but the game keeps a single bit.\r\n"
        "(firestandorders=1;)"),
    row("Floater", ValueType::Flag,
        "Set to 1 for units that float on the water surface, such as ships. Floating units "
        "are spared the half-speed penalty below sea level.\r\n"
        "(Floater=1;)"),
    row("FootprintX", ValueType::WholeNumber,
        "Width of the ground the unit occupies, in map cells of 16 world units, used for "
        "collisions and placement. Mobile units with a valid MovementClass use the class's "
        "footprint instead. Stock values run from 1 to 8.\r\n"
        "(FootprintX=2;)"),
    row("FootprintZ", ValueType::WholeNumber,
        "Depth (north to south) of the ground the unit occupies, in map cells of 16 world "
        "units. As with FootprintX, a valid MovementClass overrides it for mobile units.\r\n"
        "(FootprintZ=2;)"),
    row("Frenchdescription", ValueType::Text,
        "Shown instead of Description when the game language is French; the game looks for "
        "the language's own key before falling back to Description.\r\n"
        "(Frenchdescription=Char d'assaut rapide;)"),
    row("FrenchName", ValueType::Text,
        "Shown instead of Name when the game language is French.\r\n"
        "(FrenchName=Foudrax;)"),
    row("GermanDescription", ValueType::Text,
        "Shown instead of Description when the game language is German.\r\n"
        "(GermanDescription=Schneller Gefechtspanzer;)"),
    row("GermanName", ValueType::Text,
        "Shown instead of Name when the game language is German.\r\n"
        "(GermanName=Windgenerator;)"),
    row("HealTime", ValueType::WholeNumber,
        "Lets a finished unit slowly repair itself; the engines read the number very "
        "differently. The original game, as far as research shows, repairs at most 3.75 hit "
        "points per second at a small energy cost for any value above 0, so the number hardly "
        "matters. TA3D takes 30 x HealTime seconds for a full heal (27 gives about 13.5 "
        "minutes). Spring never reads it; use autoheal and idleautoheal there.\r\n"
        "(HealTime=27;)"),
    row("HideDamage", ValueType::Flag,
        "Set to 1 to hide the unit's health from enemy players, as on commanders.\r\n"
        "(HideDamage=1;)"),
    row("HoverAttack", ValueType::Flag,
        "Set to 1 for gunships: instead of making strafing or bombing runs, the aircraft "
        "hovers within weapon range and moves around its target.\r\n"
        "(HoverAttack=1;)"),
    row("icontype", ValueType::Name,
        "Spring: the icon drawn instead of the unit when the camera is far away, by the name "
        "of an icon type the mod defines in gamedata/icontypes.lua or icontypes.tdf; without "
        "the key the type named default is used. An unknown name silently gives the default "
        "icon, and letter case must match (names from icontypes.tdf are lower case). The "
        "original game, TA3D and RWE do not read it.\r\n"
        "(icontype=building;)"),
    row("idleautoheal", ValueType::Decimal,
        "Spring: hit points the finished unit regains every second once it has gone undamaged "
        "for longer than idletime, on top of autoheal; the default is 10. The original game, "
        "TA3D and RWE do not read it.\r\n"
        "(idleautoheal=5;)"),
    row("idletime", ValueType::WholeNumber,
        "Spring: how long the unit must go without damage before idleautoheal starts, in "
        "frames of 1/30 second; the default is 600 (20 seconds). Taking damage or being "
        "reclaimed starts the count again. The original game, TA3D and RWE do not read it.\r\n"
        "(idletime=1800;)"),
    row("ImmuneToParalyzer", ValueType::Flag,
        "Set to 1 so paralyzer (EMP) weapons have no effect on the unit.\r\n"
        "(ImmuneToParalyzer=1;)"),
    row("init_cloaked", ValueType::Flag,
        "Set to 1 for the unit to be cloaked as soon as it is finished, as stock mines "
        "are.\r\n"
        "(init_cloaked=1;)"),
    row("IsAirBase", ValueType::Flag,
        "Set to 1 for air repair pads and carriers, where aircraft land to be repaired. "
        "Damaged aircraft look for a switched-on unit that has both this and Builder set.\r\n"
        "(IsAirBase=1;)"),
    row("IsFeature", ValueType::Flag,
        "Set to 1 for units that become a feature once built, such as dragon's teeth and "
        "fortification walls: the finished unit turns into its Corpse feature. Features do "
        "not show on radar.\r\n"
        "(IsFeature=1;)"),
    row("istargetingupgrade", ValueType::Flag,
        "Set to 1 on targeting facilities. While the owner has at least one finished, "
        "switched-on unit with this flag, the owner's units may pick targets seen only on "
        "radar. TA3D does not support it.\r\n"
        "(istargetingupgrade=1;)"),
    row("ItalianDescription", ValueType::Text,
        "Shown instead of Description when the game language is Italian.\r\n"
        "(ItalianDescription=Carro armato veloce da assalto;)"),
    row("ItalianName", ValueType::Text,
        "Shown instead of Name when the game language is Italian.\r\n"
        "(ItalianName=Denti del Drago;)"),
    row("JapaneseDescription", ValueType::Text,
        "Meant to replace Description when the game language is Japanese. The stock game "
        "appears to ship no Japanese language setting, so in practice the text is never "
        "shown.\r\n"
        "(JapaneseDescription=Kousoku Kougeki Sensha;)"),
    row("JapaneseName", ValueType::Text,
        "Meant to replace Name when the game language is Japanese. The stock game appears to "
        "ship no Japanese language setting; its only use in stock files is a joke name.\r\n"
        "(JapaneseName=Jeffysan;)"),
    row("kamikaze", ValueType::Flag,
        "Set to 1 for units that attack by blowing themselves up once within kamikazedistance "
        "of the target, such as mines and crawling bombs. They skip the usual weapon range "
        "check when picking targets.\r\n"
        "(kamikaze=1;)"),
    row("kamikazedistance", ValueType::WholeNumber,
        "How close, in world units, a kamikaze unit gets to its target before it detonates. "
        "Stock values run from 55 to 100.\r\n"
        "(kamikazedistance=55;)"),
    row("leavetracks", ValueType::Flag,
        "Spring: with 1 a ground unit leaves track marks; the default is 0. Tracks show only "
        "when trackstrength is above 0, so set that too, with tracktype, trackwidth and "
        "trackoffset as needed. The original game, TA3D and RWE do not read it.\r\n"
        "(leavetracks=1;)"),
    row("losemitheight", ValueType::Decimal,
        "Spring 83.0 and later: the height above the unit's centre, in elmos, from which its "
        "line of sight is worked out, never below sea level; the default is 20, which is also "
        "the default radar height. Older versions of Spring ignore it. The original game, TA3D "
        "and RWE do not read it.\r\n"
        "(losemitheight=44;)"),
    row("MakesMetal", ValueType::WholeNumber,
        "Metal maker: adds this much metal per second while the unit is on and its EnergyUse "
        "is paid. The original game reads a whole number from 0 to 255, so fractions are lost "
        "there; TA3D keeps them. The computer player switches its makers on and off to suit "
        "its energy.\r\n"
        "(MakesMetal=1;)"),
    row("maneuverleashlength", ValueType::WholeNumber,
        "How far, in world units, the unit may stray from its post or path while chasing "
        "targets on its own before it turns back; aircraft break off an attack beyond it. "
        "Stock values run from 10 to 1800.\r\n"
        "(maneuverleashlength=640;)"),
    row("mass", ValueType::Decimal,
        "Spring: the unit's mass. It counts against a transport's transportMass (100000 by "
        "default; a unit of 100000 or more can never be carried), and it decides how units "
        "push and crush each other, collision damage and how far explosions push the unit. The "
        "default is BuildCostMetal; current versions keep it between 1 and 1,000,000. The "
        "original game, TA3D and RWE do not read it.\r\n"
        "(mass=300;)"),
    row("maxangledif1", ValueType::Decimal,
        "How wide weapon 1's firing arc around weaponmaindir1 is. Spring: the full width of "
        "the cone in degrees; the default 360 means no limit. TA3D counts weapons from 0, so "
        "there the key belongs to weapon 2, and it takes the value as a half-angle in radians, "
        "so anything above about 3.14 limits nothing. The original game and RWE do not read "
        "it.\r\n"
        "(maxangledif1=160;)"),
    row("MaxDamage", ValueType::WholeNumber,
        "The unit's hit points. Stock units range from 50 to about 15000.\r\n"
        "(MaxDamage=625;)"),
    row("MaxSlope", ValueType::WholeNumber,
        "The steepest ground the unit may move onto, or a structure may be built on. The "
        "original game compares it with the height difference across each map cell (0 to 255; "
        "stock 10 to 32), and a valid MovementClass replaces it for mobile units; TA3D reads a "
        "height difference too. Old versions of Spring read it as degrees instead.\r\n"
        "(MaxSlope=10;)"),
    row("MaxVelocity", ValueType::Decimal,
        "Top speed in world units per tick; times 30 gives world units per second. Every "
        "mobile unit needs a value above 0. Stock units range from 0.34 to 12.\r\n"
        "(MaxVelocity=1.9;)"),
    row("MaxWaterDepth", ValueType::WholeNumber,
        "The deepest water the unit may enter, in height units below sea level (0 to 255); 0 "
        "keeps it on dry land. A valid MovementClass overrides it.\r\n"
        "(MaxWaterDepth=12;)"),
    row("MetalMake", ValueType::Decimal,
        "Metal the unit produces every second once finished, even while switched off. The "
        "original game has no MetalUse key, so there a negative value is the only way to make "
        "a unit drain metal all the time; Spring and RWE read MetalUse for that.\r\n"
        "(MetalMake=1;)"),
    row("MetalStorage", ValueType::Decimal,
        "Added to the owner's maximum metal storage while the finished unit exists.\r\n"
        "(MetalStorage=1000;)"),
    row("MetalUse", ValueType::Decimal,
        "Metal used every second while the unit is switched on. Spring charges it but stops "
        "nothing when metal runs out; RWE charges it with EnergyUse and the unit works only "
        "while both are paid. The original game and TA3D do not read it: there a negative "
        "MetalMake drains metal instead.\r\n"
        "(MetalUse=1;)"),
    row("mincloakdistance", ValueType::WholeNumber,
        "Radius in world units: an enemy coming this close uncloaks the unit. A "
        "cloak-capable unit without this key uses 80 in the original game.\r\n"
        "(mincloakdistance=40;)"),
    row("MinWaterDepth", ValueType::WholeNumber,
        "The least water the unit needs under it, in height units below sea level, for "
        "ships, submarines and water structures. A valid MovementClass overrides it.\r\n"
        "(MinWaterDepth=30;)"),
    row("mobilestandorders", ValueType::Flag,
        "Set to 1 if the unit should follow the move orders (hold position, maneuver, roam); "
        "units with 0 are skipped when such an order is given. Stock transports use 0.\r\n"
        "(mobilestandorders=1;)"),
    row("MovementClass", ValueType::Name,
        "A movement class, a CLASS section of gamedata/moveinfo.tdf, that sets the unit's "
        "footprint, slope and water depth limits for moving and path finding. It overrides "
        "the unit's own keys; without a valid class those keys are used.\r\n"
        "(MovementClass=TANKSH2;)"),
    row("MoveRate1", ValueType::Decimal,
        "Speed in world units per tick at which the unit's script is told it has reached a "
        "faster movement stage; stock aircraft scripts use it, e.g. to sweep their wings. "
        "Without this key that stage is never reached. (MoveRate1=8;)"),
    row("MoveRate2", ValueType::Decimal,
        "The original game: the upper of the two speeds, in world units per tick, that sort a "
        "moving unit into three move-rate steps its script is told about; MoveRate1 is the "
        "lower. The default is twice MaxVelocity, so the top step needs a value below top "
        "speed. Spring, TA3D and RWE do not read it.\r\n"
        "(MoveRate2=2;)"),
    row("Name", ValueType::Text,
        "The unit's name as shown in the game; the original game keeps up to 31 characters. "
        "Language keys such as FrenchName replace it in other languages.\r\n"
        "(Name=Flash;)"),
    row("NoAutoFire", ValueType::Flag,
        "Meant to keep the unit from firing on its own, but no engine does just that. The "
        "original game ignores it: the standing fire order decides. In TA3D ordinary weapons "
        "still fire on their own with 1; the key only decides whether manual-fire "
        "(commandfire) and interceptor weapons take part when the unit picks its targets. In "
        "Spring 1 means the unit has no fire-state order: that button is removed.\r\n"
        "(NoAutoFire=0;)"),
    row("NoChaseCategory", ValueType::CategoryList,
        "Categories of enemy units this unit will not go after on its own when it spots "
        "them. Without this key the category named none is used, which is normally "
        "empty.\r\n"
        "(NoChaseCategory=CTRL_V;)"),
    row("norestrict", ValueType::Flag,
        "Set to 1 to leave the unit out of the multiplayer unit restriction list, so it "
        "cannot be banned there; commanders use it.\r\n"
        "(norestrict=1;)"),
    row("NoShadow", ValueType::Flag,
        "Set to 1 to draw no shadow under the unit; mostly used on water units.\r\n"
        "(NoShadow=1;)"),
    row("Objectname", ValueType::Name,
        "Name of the unit's 3D model in objects3d, without the file extension. Units may "
        "share a model; the original game stops with an error if the model is missing.\r\n"
        "(Objectname=ARMFLASH;)"),
    row("onlytargetcategory1", ValueType::CategoryList,
        "Spring: weapon 1 may aim only at units in these categories, even when ordered to "
        "attack; onlytargetcategory2 and so on serve the later weapons. The default is every "
        "category. Names ignore letter case, and a name no unit carries leaves the weapon no "
        "unit to shoot at. The original game, TA3D and RWE do not read it.\r\n"
        "(onlytargetcategory1=NOTAIR;)"),
    row("onoffable", ValueType::Flag,
        "Set to 1 to let the player switch the unit on and off. Switching off stops "
        "EnergyUse, metal extraction, metal making and wind or tidal power, but not "
        "EnergyMake, MetalMake or storage.\r\n"
        "(onoffable=1;)"),
    row("Ovradjust", ValueType::Flag,
        "Purpose unknown. Many original unit files set it to 1, but the original game "
        "appears never to read it, so it has no known effect.\r\n"
        "(Ovradjust=1;)"),
    row("piecetrailcegrange", ValueType::WholeNumber,
        "Spring: how many numbered variants of the piecetrailcegtag effect exist; with 4, the "
        "names tag0 to tag3 are used, one picked at random for each piece. The default is 1. "
        "The original game, TA3D and RWE do not read it.\r\n"
        "(piecetrailcegrange=4;)"),
    row("piecetrailcegtag", ValueType::Name,
        "Spring: the base name of the particle effect (CEG) that trails the pieces a dying "
        "unit throws off. A number from 0 to piecetrailcegrange minus 1 is added to it, so "
        "each of those names must exist as a CEG. The original game, TA3D and RWE do not read "
        "it.\r\n"
        "(piecetrailcegtag=Debree;)"),
    row("PigLatinDescription", ValueType::Text,
        "Shown instead of Description when the game language is the joke Pig Latin. The "
        "stock game appears to list that language, but only one stock unit fills this "
        "in.\r\n"
        "(PigLatinDescription=Astfay attackay Outingscay Ehiclevay;)"),
    row("PigLatinName", ValueType::Text,
        "Shown instead of Name when the game language is the joke Pig Latin; only one stock "
        "unit fills this in.\r\n"
        "(PigLatinName=Effyjay;)"),
    row("PitchScale", ValueType::Decimal,
        "How far an aircraft's nose tips up or down as it speeds up or slows down. 0, the "
        "default, means no pitching; the one stock aircraft that uses it has 1.\r\n"
        "(PitchScale=1;)"),
    row("RadarDistance", ValueType::WholeNumber,
        "Radar range in world units; enemy units within it show up as radar dots. Stock "
        "values run from 400 to 6000.\r\n"
        "(RadarDistance=1440;)"),
    row("RadarDistanceJam", ValueType::WholeNumber,
        "Radius in world units within which the unit hides friendly units from enemy "
        "radar.\r\n"
        "(RadarDistanceJam=400;)"),
    row("reclaimspeed", ValueType::Decimal,
        "Spring: the builder's reclaim power per second, on the WorkerTime scale; the default "
        "is WorkerTime, and 0 takes the reclaim ability away. Each second a unit being "
        "reclaimed loses the share reclaimspeed / BuildTime of its health. The original game, "
        "TA3D and RWE do not read it.\r\n"
        "(reclaimspeed=100;)"),
    row("repairspeed", ValueType::Decimal,
        "Spring: the builder's repair power per second, on the WorkerTime scale; the default "
        "is WorkerTime, and 0 takes the repair ability away. Each second a damaged unit "
        "regains the share repairspeed / BuildTime of its maximum health. The original game, "
        "TA3D and RWE do not read it.\r\n"
        "(repairspeed=300;)"),
    row("Scale", ValueType::Decimal,
        "Meant to scale the unit's model. The original game ignores it and TA3D always uses "
        "1, so it has no effect.\r\n"
        "(Scale=1;)"),
    row("seismicsignature", ValueType::Decimal,
        "Spring: the size of the seismic ping a moving unit sends every half second, which "
        "enemy seismic detectors pick up when they cannot see it; 0 or less sends none. By "
        "default tanks and kbots send the square root of (mass / 100) and other units none. "
        "The original game, TA3D and RWE do not read it.\r\n"
        "(seismicsignature=0;)"),
    row("SelfDestructAs", ValueType::Name,
        "The weapon, by its name in weapons/*.tdf, that explodes when the unit self-destructs. "
        "An unknown name means no explosion. The original game, TA3D and Spring all read it.\r\n"
        "(SelfDestructAs=BIG_UNIT;)"),
    row("selfdestructcountdown", ValueType::WholeNumber,
        "Length of the self-destruct countdown in seconds; the default is 5. Keep it from 0 "
        "to 5: the original game holds at most 7, and 6 or 7 overrun its countdown "
        "captions.\r\n"
        "(selfdestructcountdown=2;)"),
    row("ShootMe", ValueType::Flag,
        "Set to 1 so a human player's units pick this unit as a target on their own; with 0 "
        "they leave it alone unless ordered, though computer players still shoot it. The "
        "default is 0, so normal units should set 1.\r\n"
        "(ShootMe=1;)"),
    row("ShowPlayerName", ValueType::Flag,
        "Meant to show the owner's player name instead of the unit name, as on commanders. "
        "Some newer engines do this, but it is unclear whether the original game reads the "
        "flag at all.\r\n"
        "(ShowPlayerName=1;)"),
    row("Side", ValueType::Name,
        "The faction the unit belongs to, matching a side in sidedata.tdf: ARM or CORE. The "
        "computer player only builds units whose Side matches the builder's exactly, "
        "including case.\r\n"
        "(Side=ARM;)"),
    row("SightDistance", ValueType::WholeNumber,
        "Line of sight radius in world units, within which the fog of war is lifted. Stock "
        "values run from 55 to 1350.\r\n"
        "(SightDistance=290;)"),
    row("smoothanim", ValueType::Flag,
        "Spring up to 0.82: with 1, a script's sudden turn or move followed by a short sleep "
        "was smoothed into a motion that fills the sleep; the default is 0. Spring 83.0 and "
        "later ignore it. The original game, TA3D and RWE do not read it.\r\n"
        "(smoothanim=1;)"),
    row("SonarDistance", ValueType::WholeNumber,
        "Sonar range in world units; units in the water within it are detected.\r\n"
        "(SonarDistance=425;)"),
    row("SonarDistanceJam", ValueType::WholeNumber,
        "Radius in world units within which the unit hides friendly units from enemy "
        "sonar.\r\n"
        "(SonarDistanceJam=650;)"),
    row("sortbias", ValueType::WholeNumber,
        "Purpose unknown: the original game stores the value but nothing appears to use it, "
        "and no stock unit sets it.\r\n"
        "(sortbias=0;)"),
    row("SoundCategory", ValueType::Name,
        "The unit's sound set: a section of gamedata/sound.tdf with its select, "
        "acknowledge, arrival and other sounds. If the key is missing or the name unknown, "
        "the game normally falls back to the first section of that file.\r\n"
        "(SoundCategory=ARM_TANK;)"),
    row("SpanishDescription", ValueType::Text,
        "Shown instead of Description when the game language is Spanish.\r\n"
        "(SpanishDescription=Tanque de asalto rapido;)"),
    row("SpanishName", ValueType::Text,
        "Shown instead of Name when the game language is Spanish.\r\n"
        "(SpanishName=Comandante;)"),
    row("StandingFireOrder", ValueType::WholeNumber,
        "The initial fire order the unit starts with. 0=Hold Fire, 1=Return Fire, 2=Fire at "
        "Will.\r\n"
        "(StandingFireOrder=1;)"),
    row("StandingMoveOrder", ValueType::WholeNumber,
        "The move order the unit starts with: 0 = hold position, 1 = maneuver, 2 = roam. "
        "Units from a factory take the factory's current setting instead; without this key "
        "the original game uses 2.\r\n"
        "(StandingMoveOrder=1;)"),
    row("Stealth", ValueType::Flag,
        "Set to 1 to keep the unit off enemy radar.\r\n"
        "(Stealth=1;)"),
    row("SteeringMode", ValueType::WholeNumber,
        "Meant to choose a way of turning; stock kbots use 2 and most other mobile units 1. "
        "The original game ignores it, so it has no effect, and what it was meant to do is "
        "not known.\r\n"
        "(SteeringMode=1;)"),
    row("TEDClass", ValueType::Name,
        "The unit's class for the TED map editor: TANK, KBOT, PLANT, VTOL, SHIP, WATER, "
        "SPECIAL, FORT, METAL, ENERGY, CNSTR or COMMANDER. The original game ignores it in "
        "play, TA3D picks the unit's tactical icon from it, and old versions of Spring take "
        "PLANT to mean a factory.\r\n"
        "(TEDClass=TANK;)"),
    row("teleporter", ValueType::Flag,
        "Set on the stock Galactic Gates. The original game stores it but nothing uses it, so "
        "it does not make a unit teleport.\r\n"
        "(teleporter=1;)"),
    row("terraformspeed", ValueType::Decimal,
        "Spring: how fast the builder levels the ground before a structure goes up and for the "
        "Restore order, per second; the default is WorkerTime, and 0 also removes Restore. The "
        "original game, TA3D and RWE do not read it.\r\n"
        "(terraformspeed=600;)"),
    row("ThreeD", ValueType::Flag,
        "Old flag that every stock unit sets to 1. The original game does not read it; just "
        "leave it at 1.\r\n"
        "(ThreeD=1;)"),
    row("TidalGenerator", ValueType::Decimal,
        "Tidal power: while switched on, the unit makes this value times the map's tidal "
        "strength in energy every second. The game itself does not check for water; build "
        "placement is what keeps tidal generators at sea.\r\n"
        "(TidalGenerator=1;)"),
    row("trackoffset", ValueType::Decimal,
        "Spring: moves where track marks are laid along the unit's forward direction, in "
        "elmos; a negative value is behind the centre, and the default is 0. The original "
        "game, TA3D and RWE do not read it.\r\n"
        "(trackoffset=8;)"),
    row("trackstrength", ValueType::Decimal,
        "Spring: how long track marks stay, fading evenly; in current versions they last 3 "
        "times this many seconds. The default 0 means no tracks at all, even with "
        "leavetracks=1. The original game, TA3D and RWE do not read it.\r\n"
        "(trackstrength=10;)"),
    row("trackstretch", ValueType::Decimal,
        "Spring: how the track picture is spread along the path; the default is 1. The engines "
        "disagree: in Spring larger values squeeze the pattern, in Recoil they stretch it, and "
        "at 1 both draw the same. The original game, TA3D and RWE do not read it.\r\n"
        "(trackstretch=1;)"),
    row("tracktype", ValueType::Name,
        "Spring: the picture for the track marks, a file in bitmaps/tracks/ (.bmp is added "
        "when no extension is given); the default is StdTank. A missing file gives a warning "
        "and no tracks. The original game, TA3D and RWE do not read it.\r\n"
        "(tracktype=VehTrack;)"),
    row("trackwidth", ValueType::Decimal,
        "Spring: the width of the track marks in elmos, centred on the unit; the default is "
        "32. The original game, TA3D and RWE do not read it.\r\n"
        "(trackwidth=24;)"),
    row("TransMaxUnits", ValueType::WholeNumber,
        "The original game ignores it; use transportcapacity there. In TA3D it is the only "
        "limit on how many units a transport carries (transportcapacity and transportsize go "
        "unused there): 1 means an Atlas-style transport with a single unit slung underneath, "
        "and transportmaxunits overrides it when both are set.\r\n"
        "(TransMaxUnits=1;)"),
    row("transportbyenemy", ValueType::Flag,
        "Spring: with 0, transports of teams not allied with the owner cannot pick the unit "
        "up; allied ones still can. The default is 1. The original game, TA3D and RWE do not "
        "read it.\r\n"
        "(transportbyenemy=0;)"),
    row("transportcapacity", ValueType::WholeNumber,
        "The most units a transport can carry at once. The original game counts units and does "
        "not add up their sizes. TA3D ignores it and uses TransMaxUnits or transportmaxunits "
        "instead.\r\n"
        "(transportcapacity=6;)"),
    row("transportmaxunits", ValueType::WholeNumber,
        "TA3D: how many units the transport carries, its only cargo limit there; it overrides "
        "TransMaxUnits. 1 means an Atlas-style pick-up of a single unit, and a unit with "
        "canload carries at least 1. The original game, Spring and RWE do not read it.\r\n"
        "(transportmaxunits=8;)"),
    row("transportsize", ValueType::WholeNumber,
        "The largest footprint width, in map cells, of a unit this transport can pick up. All "
        "stock transports use 3. TA3D ignores it.\r\n"
        "(transportsize=3;)"),
    row("turninplace", ValueType::Flag,
        "Spring, ground units: with 1, the default, the unit slows down and turns on the spot "
        "at sharp bends; with 0 it keeps moving and turns in an arc. The original game, TA3D "
        "and RWE do not read it.\r\n"
        "(turninplace=0;)"),
    row("TurnRate", ValueType::WholeNumber,
        "How far the unit can turn each tick, in angle units where 65536 is a full circle "
        "(1044 is about 172 degrees per second). Stock values run from 64 to 1400; never use "
        "0 on a mobile unit, as the game divides by it.\r\n"
        "(TurnRate=475;)"),
    row("UnitName", ValueType::Name,
        "The name of the unit that is used for all the other files the unit uses. This FBI "
        "should have the same name as this!\r\n"
        "(UnitName=COROBLIT;)"),
    row("UnitNumber", ValueType::WholeNumber,
        "Old numeric ID, documented as needing to be unique among units. No game engine reads "
        "it, though some replay and recording tools use it.\r\n"
        "(UnitNumber=32;)"),
    row("Upright", ValueType::Flag,
        "Set to 1 to keep the model vertical instead of tilting with the slope, as on kbots "
        "and commanders.\r\n"
        "(Upright=1;)"),
    row("Version", ValueType::Decimal,
        "Unit file version. The original game drops any unit whose version is above 3.1 and "
        "reports incompatible units; 3.1 or lower loads normally.\r\n"
        "(Version=1;)"),
    row("WaterLine", ValueType::WholeNumber,
        "How deep the model sits in the water, used by submarines and floating structures; "
        "the original game also uses it to tell where the unit is relative to the water "
        "surface. Use a whole number from 0 to 255, as the original game drops "
        "fractions.\r\n"
        "(WaterLine=8;)"),
    row("Weapon1", ValueType::Name,
        "The unit's first weapon, by its section name in weapons/*.tdf; the script's primary "
        "weapon functions aim and fire it. An unknown name means no weapon. The original "
        "game has exactly three weapon slots.\r\n"
        "(Weapon1=EMG;)"),
    row("Weapon2", ValueType::Name,
        "The unit's second weapon, by its section name in weapons/*.tdf, aimed and fired by "
        "the script's secondary weapon functions.\r\n"
        "(Weapon2=ARMDEPTHCHARGE;)"),
    row("Weapon3", ValueType::Name,
        "The unit's third weapon, by its section name in weapons/*.tdf, driven by the "
        "script's tertiary weapon functions. Stock commanders keep their D-gun here.\r\n"
        "(Weapon3=ARM_DISINTEGRATOR;)"),
    row("Weapon4", ValueType::Name,
        "The fourth weapon, by its section name in weapons/*.tdf, driven by the script's "
        "Weapon4 functions (AimWeapon4, FireWeapon4 and so on). Spring and TA3D read it; the "
        "original game and RWE have only three weapon slots. From Weapon4 on, both stop "
        "reading at the first missing number, so do not skip one.\r\n"
        "(Weapon4=WARPBOOM;)"),
    row("Weapon5", ValueType::Name,
        "The fifth weapon, driven by the script's Weapon5 functions. Spring and TA3D read it "
        "only when Weapon4 is set; the original game and RWE ignore it.\r\n"
        "(Weapon5=ARM_SHIPFLAK;)"),
    row("Weapon6", ValueType::Name,
        "The sixth weapon. Spring and TA3D read it only when Weapon4 and Weapon5 are set, and "
        "Weapon7 and up follow the same rule; the original game and RWE ignore it.\r\n"
        "(Weapon6=CORE_FFBEAM;)"),
    row("weaponmaindir1", ValueType::ThreeNumbers,
        "The centre of weapon 1's firing arc as a direction in the unit's own axes (side, up, "
        "forward), used with maxangledif1. Spring: the default is 0 0 1, straight ahead (1 0 0 "
        "before 90.0), and targets outside the arc are not engaged. TA3D counts weapons from "
        "0, so there this key aims weapon 2. The original game and RWE do not read it.\r\n"
        "(weaponmaindir1=0 0 1;)"),
    row("WindGenerator", ValueType::Decimal,
        "Wind power: while switched on, the unit makes this value times the wind strength "
        "divided by 5000 in energy every second, but never more than this value; the original "
        "game, TA3D and Spring agree on this. In the original game the wind changes every 5 to "
        "14 seconds within the map's range, and the computer player skips wind generators "
        "where the maximum wind is below 2500.\r\n"
        "(WindGenerator=30;)"),
    row("WorkerTime", ValueType::WholeNumber,
        "Build power: how many BuildTime units the unit adds per second when building, "
        "repairing or reclaiming.\r\n"
        "(WorkerTime=100;)"),
    row("wpri_badTargetCategory", ValueType::CategoryList,
        "Categories the first weapon avoids: it picks such a target only when nothing else is "
        "available, and drops it when it next looks for a target. Without this key the "
        "category named none is used, which is normally empty.\r\n"
        "(wpri_badTargetCategory=CTRL_V;)"),
    row("wsec_badTargetCategory", ValueType::CategoryList,
        "Categories the second weapon avoids, working like wpri_badTargetCategory. The third "
        "weapon's key is wspe_badTargetCategory in the original game.\r\n"
        "(wsec_badTargetCategory=NOTAIR;)"),
    row("wspe_badTargetCategory", ValueType::CategoryList,
        "Categories the third weapon avoids, working like wpri_badTargetCategory. The original "
        "game and Spring read it; in Spring it replaces badTargetCategory3. TA3D reads "
        "wthi_badTargetCategory instead and then ignores every such list; RWE does not read "
        "it.\r\n"
        "(wspe_badTargetCategory=VTOL;)"),
    row("YardMap", ValueType::Text,
        "Defines the unit footprint in more detail (buildings only). Each area of the grid is "
        "given a symbol which tells TA if units can pass over, be restricted from or allow to "
        "be built on water, etc.\r\n"
        "(YardMap=ooo ooo;)"),
    row("ZBuffer", ValueType::Flag,
        "A drawing option of the original game: with 1, the parts of the unit's picture "
        "overlap by height rather than by drawing order. Nearly every stock unit sets 1; "
        "TA3D ignores it.\r\n"
        "(ZBuffer=1;)"),};

constexpr char16_t codeUnit(char c)
{
    return char16_t(uchar(c));
}

constexpr char16_t codeUnit(QChar c)
{
    return c.unicode();
}

// The keys are ASCII, and the engines fold A to Z only: a name with another letter that Unicode folds
// to an ASCII one (U+017F to "s") is no key to them.
constexpr char16_t foldedAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

template<typename Left, typename Right>
constexpr int compareIgnoringCase(Left left, Right right)
{
    const qsizetype common = std::min(left.size(), right.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t a = foldedAscii(codeUnit(left.data()[i]));
        const char16_t b = foldedAscii(codeUnit(right.data()[i]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (left.size() == right.size())
        return 0;
    return left.size() < right.size() ? -1 : 1;
}

// Strictly ascending also means that no two keys differ only in letter case.
constexpr bool keysAscending()
{
    for (std::size_t i = 1; i < std::size(helpTable); ++i) {
        if (compareIgnoringCase(helpTable[i - 1].key, helpTable[i].key) >= 0)
            return false;
    }
    return true;
}
static_assert(keysAscending(), "the help rows stand in alphabetical order, each key once ignoring letter case");

const VariableHelpEntry *findEntry(QStringView name)
{
    const auto found = std::lower_bound(std::begin(helpTable), std::end(helpTable), name,
                                        [](const VariableHelpEntry &entry, QStringView wanted) {
                                            return compareIgnoringCase(entry.key, wanted) < 0;
                                        });
    if (found == std::end(helpTable) || compareIgnoringCase(found->key, name) != 0)
        return nullptr;
    return found;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Digits with an optional sign; with allowFraction also one decimal point, as in "0.5", ".5" or "5.".
bool isNumber(QStringView text, bool allowFraction)
{
    if (text.startsWith(u'-') || text.startsWith(u'+'))
        text = text.sliced(1);
    bool digits = false;
    bool point = false;
    for (const QChar c : text) {
        if (isDigit(c)) {
            digits = true;
        } else if (c == u'.' && allowFraction && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView withoutBlanksAround(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// Spring reads three numbers separated by spaces or tabs, and ignores any other form.
bool isThreeNumbers(QStringView text)
{
    int count = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype end = i;
        while (end < text.size() && !isBlank(text[end]))
            ++end;
        if (!isNumber(text.sliced(i, end - i), true))
            return false;
        ++count;
        i = end;
        while (i < text.size() && isBlank(text[i]))
            ++i;
    }
    return count == 3;
}

} // namespace

QString VariableHelpText(QStringView name)
{
    // A commented-out line is ignored by the game, whatever the name after "//".
    if (name.startsWith(u"//"))
        return QString(CommentedOutHelpText);
    if (const VariableHelpEntry *entry = findEntry(name))
        return QString(entry->text);
    return QString(DefaultHelpText);
}

QStringList keysWithHelp()
{
    QStringList keys;
    keys.reserve(qsizetype(std::size(helpTable)));
    for (const VariableHelpEntry &entry : helpTable)
        keys.append(QString(entry.key));
    return keys;
}

ValueType valueType(QStringView name)
{
    const VariableHelpEntry *entry = findEntry(name);
    return entry ? entry->type : ValueType::Unknown;
}

QString valueTypeText(ValueType type)
{
    switch (type) {
    case ValueType::Unknown:
        return QString();
    case ValueType::Flag:
        return QStringLiteral("Type: 0 or 1");
    case ValueType::WholeNumber:
        return QStringLiteral("Type: whole number");
    case ValueType::Decimal:
        return QStringLiteral("Type: number, fractions allowed");
    case ValueType::ThreeNumbers:
        return QStringLiteral("Type: three numbers separated by blanks");
    case ValueType::Text:
        return QStringLiteral("Type: text");
    case ValueType::Name:
        return QStringLiteral("Type: name");
    case ValueType::CategoryList:
        return QStringLiteral("Type: category names separated by blanks");
    }
    return QString();
}

QString valueHint(QStringView name, QStringView value)
{
    // The original game reads a flag's lowest bit only, so 2 is off there but on in Spring.
    const QStringView text = withoutBlanksAround(value);
    switch (valueType(name)) {
    case ValueType::Flag:
        return text == u"0" || text == u"1" ? QString() : QStringLiteral("expects 0 or 1");
    case ValueType::WholeNumber:
        return isNumber(text, false) ? QString() : QStringLiteral("expects a whole number");
    case ValueType::Decimal:
        return isNumber(text, true) ? QString() : QStringLiteral("expects a number");
    case ValueType::ThreeNumbers:
        return isThreeNumbers(text) ? QString() : QStringLiteral("expects three numbers separated by blanks");
    case ValueType::Unknown:
    case ValueType::Text:
    case ValueType::Name:
    case ValueType::CategoryList:
        break;
    }
    return QString();
}

} // namespace Help
