#include "help/VariableHelp.h"

#include <iterator>

namespace Help {

const QLatin1String CommentedOutHelpText(
    "This variable is commented out, therefore ignored when run within TA. ");
const QLatin1String DefaultHelpText(
    "No help available for the selected variable. Variable may spelled incorrectly.");

namespace {

constexpr VariableHelpEntry row(const char *key, const char *text)
{
    return {QLatin1String(key), QLatin1String(text)};
}

// Each text is a description, CR LF, then an example line "(Key=value;)".
// BuildTime, Canfly, Copyright and MoveRate1 are single lines on purpose.
// "The original game" below means Cavedog's TotalA.exe 3.1; other engines
// (TA3D, Spring) are named where they behave differently.
constexpr VariableHelpEntry helpTable[] = {
    row("Acceleration",
        "How fast the unit accelerates.\r\n"
        "(Acceleration=0.895;)"),
    row("ActivateWhenBuilt",
        "Set to 1 to have the unit switch itself on as soon as it is finished. Generators, "
        "metal extractors, metal makers, radar and jammers only work while on; without this "
        "key the unit stays off until the player switches it on (needs onoffable) or its "
        "script does.\r\n"
        "(ActivateWhenBuilt=1;)"),
    row("ai_limit",
        "Meant to cap how many of this unit the computer player builds, but the original game "
        "appears to store the text without ever using it, and the intended form of the value "
        "is not known. Set real limits with limit lines in the ai profile files instead.\r\n"
        "(ai_limit=10;)"),
    row("ai_weight",
        "Reportedly read like the lines of the computer player's ai profiles, e.g. weight "
        "ARMFLAK 0.5, which make the computer player more or less likely to build a unit. "
        "This is inferred from engine research and not confirmed; no stock unit uses it.\r\n"
        "(ai_weight=weight ARMFLAK 0.5;)"),
    row("altfromsealevel",
        "Nominal height above sea level. The original game appears to ignore it (aircraft fly "
        "at cruisealt); TA3D uses it as a minimum height over water. Stock aircraft set 1.\r\n"
        "(altfromsealevel=1;)"),
    row("amphibious",
        "Lets an aircraft land on water; without it a landing aircraft needs dry ground under "
        "it. Stock files set it only on seaplanes. Old guides say it lets ground units go "
        "under water, but no engine code backs that up: a ground unit's water depth limits "
        "come from its MovementClass.\r\n"
        "(amphibious=1;)"),
    row("antiweapons",
        "Marks an anti-missile unit. In the original game it only draws the coverage circle "
        "of the unit's interceptor weapon when selected; the weapon itself needs interceptor "
        "set in its weapon TDF to shoot missiles down.\r\n"
        "(antiweapons=1;)"),
    row("attackrunlength",
        "Bombers only: extra distance in world units added to the bomb release radius and to "
        "how far the plane overflies the target on each pass. Stock bombers use 100 to 290.\r\n"
        "(attackrunlength=120;)"),
    row("BMcode",
        "1 for a mobile unit, 0 for a structure. It decides whether the YardMap is used, how "
        "the unit is placed when ordered built and how it is drawn. Factories are structures "
        "(0) even though they set canmove.\r\n"
        "(BMcode=1;)"),
    row("BadTargetCategory",
        "A list of categories the unit should regard as poor targets. The original game "
        "ignores this plain form; use the per-weapon keys wpri_badTargetCategory and "
        "wsec_badTargetCategory instead.\r\n"
        "(BadTargetCategory=NOWEAPON;)"),
    row("BankScale",
        "How far an aircraft rolls into its turns: 0 means no banking, 1 is the normal amount "
        "and the default. Stock aircraft use 1 or 1.5.\r\n"
        "(BankScale=1;)"),
    row("BrakeRate",
        "How quickly the unit slows down, in world units per tick squared; for ground units it "
        "also sets the stopping distance. Aircraft use much larger values (around 9) because "
        "their flight model sheds speed with it. Never use 0 on a mobile unit: the game "
        "divides by it.\r\n"
        "(BrakeRate=0.3;)"),
    row("BuildAngle",
        "Gives a newly built unit, usually a structure, a slightly random facing: in the "
        "original game it faces south, turned at random by up to half this value either way "
        "(0 or 1 means exactly south). Angle units: 65536 is a full circle, so 8192 allows "
        "22.5 degrees either side.\r\n"
        "(BuildAngle=8192;)"),
    row("BuildCostEnergy",
        "Total energy needed to build the unit, drawn bit by bit as construction goes on.\r\n"
        "(BuildCostEnergy=870;)"),
    row("BuildCostMetal",
        "Total metal needed to build the unit, drawn bit by bit as construction goes on.\r\n"
        "(BuildCostMetal=106;)"),
    row("BuildTime",
        "The time it takes to build the unit. (BuildTime=9894;)"),
    row("Builddistance",
        "How far, in world units, a mobile builder can reach to build, repair or reclaim. "
        "Construction aircraft also circle the job at this radius. Stock values run from 6 "
        "to 100.\r\n"
        "(Builddistance=60;)"),
    row("Builder",
        "Set to 1 for units that build other units: factories, construction units and "
        "commanders. The game loads the unit's build list (its CANBUILD entries in "
        "sidedata.tdf) only when this is on.\r\n"
        "(Builder=1;)"),
    row("canattack",
        "Set to 1 to give the unit the Attack order. Mines and other units that should never "
        "be sent to attack use 0.\r\n"
        "(canattack=1;)"),
    row("CanCapture",
        "Set to 1 to let the unit take over enemy units with the Capture order. In the stock "
        "game only the two commanders can.\r\n"
        "(CanCapture=1;)"),
    row("CanDgun",
        "Set to 1 to give the unit the D-gun order for manual firing. The shot comes from "
        "whichever weapon has commandfire set in its weapon TDF; stock units keep it in "
        "Weapon3.\r\n"
        "(CanDgun=1;)"),
    row("Canfly",
        "Set to 1 to make the unit an aircraft: it flies at cruisealt, takes off and lands, "
        "and needs no MovementClass. (Canfly=1;)"),
    row("canguard",
        "Set to 1 to give the unit the Guard order.\r\n"
        "(canguard=1;)"),
    row("canhover",
        "Set to 1 for hovercraft: the unit travels over water as well as land, takes no water "
        "damage and keeps its full speed on water. Give it a TANKHOVER movement class, which "
        "still decides where it can go.\r\n"
        "(canhover=1;)"),
    row("canload",
        "Set to 1 to make the unit a transport that can pick up other units; see also "
        "transportcapacity and transportsize.\r\n"
        "(canload=1;)"),
    row("canmove",
        "Set to 1 to give the unit the Move order. It does not make the unit mobile by itself "
        "(MaxVelocity, BMcode and MovementClass do that): factories set it so a Move order "
        "places their rally point.\r\n"
        "(canmove=1;)"),
    row("canpatrol",
        "Set to 1 to give the unit the Patrol order.\r\n"
        "(canpatrol=1;)"),
    row("CanReclamate",
        "Set to 1 to let the unit reclaim wrecks, features and units, turning them into metal "
        "or energy.\r\n"
        "(CanReclamate=1;)"),
    row("canstop",
        "Set to 1 to give the unit the Stop order. Nearly every stock unit has it; mines use "
        "0.\r\n"
        "(canstop=1;)"),
    row("cantbetransported",
        "Set to 1 to keep transports from loading the unit, as on the heaviest stock kbots "
        "such as the Krogoth.\r\n"
        "(cantbetransported=1;)"),
    row("Category",
        "The category class of the unit. See totala1.hpi for examples.\r\n"
        "(Category=ARM TANK LEVEL2 NOTAIR NOTSUB;)"),
    row("CloakCost",
        "Energy drained per second while the unit stays cloaked standing still. Any value "
        "above 0 gives the unit the Cloak order; if the owner cannot pay the full amount, the "
        "cloak drops.\r\n"
        "(CloakCost=200;)"),
    row("CloakCostMoving",
        "Energy drained per second while the unit stays cloaked on the move. Without this key "
        "the original game charges the CloakCost value.\r\n"
        "(CloakCostMoving=1000;)"),
    row("Commander",
        "Set to 1 on commanders. Losing a commander counts for the commander-killed win and "
        "loss rules, and the game also checks it when resources are shared.\r\n"
        "(Commander=1;)"),
    row("Copyright",
        "DO NOT touch this! Your unit will not work if this is changed!"),
    row("Corpse",
        "The feature from features/*.tdf that is left as a wreck when the unit dies; a missing "
        "or unknown name leaves nothing. For units with IsFeature set it is the feature the "
        "unit becomes once built.\r\n"
        "(Corpse=armflash_dead;)"),
    row("cruisealt",
        "Flying height of an aircraft above the ground below it, in world units; it also "
        "affects where bombers release their bombs. Stock aircraft use 50 to 220.\r\n"
        "(cruisealt=160;)"),
    row("DamageModifier",
        "Multiplies the damage the unit takes, but only while its script has put it in the "
        "armored state, such as a closed solar collector or a lowered pop-up gun. 1 means "
        "full damage and 0.5 half; while the unit is open it takes normal damage.\r\n"
        "(DamageModifier=0.5;)"),
    row("DefaultMissionType",
        "What the unit does whenever it has no orders left: Standby for most units, "
        "VTOL_standby for aircraft, GUARD_NOMOVE for gun turrets, Standby_Mine for mines. "
        "Case does not matter; an unknown value leaves the unit with no default task.\r\n"
        "(DefaultMissionType=Standby;)"),
    row("Description",
        "Short text about the unit's role, shown in the status bar and tooltips; the original "
        "game keeps up to 63 characters. Language keys such as GermanDescription replace it "
        "in other languages.\r\n"
        "(Description=Fast Assault Tank;)"),
    row("Designation",
        "A cosmetic serial or model code. No game engine reads it, so it can be anything.\r\n"
        "(Designation=FAT3;)"),
    row("digger",
        "For pop-up turrets that sit partly in the ground: the original game does not draw "
        "any part of the model at or below ground level (the model's origin). TA3D ignores "
        "it.\r\n"
        "(digger=1;)"),
    row("downloadable",
        "Marks an add-on (downloaded) unit. The original game reportedly switches it on by "
        "itself for any unit listed in a download/*.tdf build menu, so leaving it out should "
        "do no harm.\r\n"
        "(downloadable=1;)"),
    row("EnergyMake",
        "Energy the unit produces every second once it is finished, even while switched off. "
        "Stock mobile units often make exactly their EnergyUse, so their upkeep costs "
        "nothing.\r\n"
        "(EnergyMake=25;)"),
    row("EnergyStorage",
        "Added to the owner's maximum energy storage while the finished unit exists.\r\n"
        "(EnergyStorage=3000;)"),
    row("EnergyUse",
        "Energy the unit uses every second while working: structures only while switched on, "
        "mobile units nearly all the time. A negative value produces energy instead, but only "
        "while the unit is on; stock solar and fusion plants work this way.\r\n"
        "(EnergyUse=60;)"),
    row("ExplodeAs",
        "The weapon, by its name in weapons/*.tdf, that goes off when the unit is destroyed. "
        "An unknown name means no explosion.\r\n"
        "(ExplodeAs=BIG_UNITEX;)"),
    row("ExtractsMetal",
        "Makes the unit a metal extractor. When it is created, its rate is worked out once as "
        "this value times the sum of (metal value + 1) over the map cells under its "
        "footprint; it yields that much metal per second while on and while its EnergyUse is "
        "paid.\r\n"
        "(ExtractsMetal=0.001;)"),
    row("firestandorders",
        "Set to 1 if the unit should follow the fire orders (hold fire, return fire, fire at "
        "will); units with 0 are skipped when such an order is given. Only 0 and 1 make "
        "sense: older guides mention 2, but the game keeps a single bit.\r\n"
        "(firestandorders=1;)"),
    row("Floater",
        "Set to 1 for units that float on the water surface, such as ships. Floating units "
        "are spared the half-speed penalty below sea level.\r\n"
        "(Floater=1;)"),
    row("FootprintX",
        "Width of the ground the unit occupies, in map cells of 16 world units, used for "
        "collisions and placement. Mobile units with a valid MovementClass use the class's "
        "footprint instead. Stock values run from 1 to 8.\r\n"
        "(FootprintX=2;)"),
    row("FootprintZ",
        "Depth (north to south) of the ground the unit occupies, in map cells of 16 world "
        "units. As with FootprintX, a valid MovementClass overrides it for mobile units.\r\n"
        "(FootprintZ=2;)"),
    row("Frenchdescription",
        "Shown instead of Description when the game language is French; the game looks for "
        "the language's own key before falling back to Description.\r\n"
        "(Frenchdescription=Char d'assaut rapide;)"),
    row("FrenchName",
        "Shown instead of Name when the game language is French.\r\n"
        "(FrenchName=Foudrax;)"),
    row("GermanDescription",
        "Shown instead of Description when the game language is German.\r\n"
        "(GermanDescription=Schneller Gefechtspanzer;)"),
    row("GermanName",
        "Shown instead of Name when the game language is German.\r\n"
        "(GermanName=Windgenerator;)"),
    row("HealTime",
        "Lets a finished unit slowly repair itself. In the original game, as far as research "
        "shows, any value above 0 gives a slow repair of at most about 4 hit points per "
        "second at a small energy cost, so the number hardly matters; TA3D instead heals the full "
        "MaxDamage over HealTime seconds.\r\n"
        "(HealTime=27;)"),
    row("HideDamage",
        "Set to 1 to hide the unit's health from enemy players, as on commanders.\r\n"
        "(HideDamage=1;)"),
    row("HoverAttack",
        "Set to 1 for gunships: instead of making strafing or bombing runs, the aircraft "
        "hovers within weapon range and moves around its target.\r\n"
        "(HoverAttack=1;)"),
    row("ImmuneToParalyzer",
        "Set to 1 so paralyzer (EMP) weapons have no effect on the unit.\r\n"
        "(ImmuneToParalyzer=1;)"),
    row("init_cloaked",
        "Set to 1 for the unit to be cloaked as soon as it is finished, as stock mines "
        "are.\r\n"
        "(init_cloaked=1;)"),
    row("IsAirBase",
        "Set to 1 for air repair pads and carriers, where aircraft land to be repaired. "
        "Damaged aircraft look for a switched-on unit that has both this and Builder set.\r\n"
        "(IsAirBase=1;)"),
    row("IsFeature",
        "Set to 1 for units that become a feature once built, such as dragon's teeth and "
        "fortification walls: the finished unit turns into its Corpse feature. Features do "
        "not show on radar.\r\n"
        "(IsFeature=1;)"),
    row("istargetingupgrade",
        "Set to 1 on targeting facilities. While the owner has at least one finished, "
        "switched-on unit with this flag, the owner's units may pick targets seen only on "
        "radar. TA3D does not support it.\r\n"
        "(istargetingupgrade=1;)"),
    row("ItalianDescription",
        "Shown instead of Description when the game language is Italian.\r\n"
        "(ItalianDescription=Carro armato veloce da assalto;)"),
    row("ItalianName",
        "Shown instead of Name when the game language is Italian.\r\n"
        "(ItalianName=Denti del Drago;)"),
    row("JapaneseDescription",
        "Meant to replace Description when the game language is Japanese. The stock game "
        "appears to ship no Japanese language setting, so in practice the text is never "
        "shown.\r\n"
        "(JapaneseDescription=Kousoku Kougeki Sensha;)"),
    row("JapaneseName",
        "Meant to replace Name when the game language is Japanese. The stock game appears to "
        "ship no Japanese language setting; its only use in stock files is a joke name.\r\n"
        "(JapaneseName=Jeffysan;)"),
    row("kamikaze",
        "Set to 1 for units that attack by blowing themselves up once within kamikazedistance "
        "of the target, such as mines and crawling bombs. They skip the usual weapon range "
        "check when picking targets.\r\n"
        "(kamikaze=1;)"),
    row("kamikazedistance",
        "How close, in world units, a kamikaze unit gets to its target before it detonates. "
        "Stock values run from 55 to 100.\r\n"
        "(kamikazedistance=55;)"),
    row("MakesMetal",
        "Metal maker: adds this much metal per second while the unit is on and its EnergyUse "
        "is paid. The original game reads a whole number from 0 to 255, so fractions are "
        "lost. The computer player switches its makers on and off to suit its energy.\r\n"
        "(MakesMetal=1;)"),
    row("maneuverleashlength",
        "How far, in world units, the unit may stray from its post or path while chasing "
        "targets on its own before it turns back; aircraft break off an attack beyond it. "
        "Stock values run from 10 to 1800.\r\n"
        "(maneuverleashlength=640;)"),
    row("MaxDamage",
        "The unit's hit points. Stock units range from 50 to about 15000.\r\n"
        "(MaxDamage=625;)"),
    row("MaxSlope",
        "The steepest ground the unit may move onto, or a structure may be built on. The "
        "original game compares it with the height difference across each map cell (0 to "
        "255; stock 10 to 32), and a valid MovementClass replaces it for mobile units. The "
        "old Spring engine reads it as degrees instead.\r\n"
        "(MaxSlope=10;)"),
    row("MaxVelocity",
        "Top speed in world units per tick; times 30 gives world units per second. Every "
        "mobile unit needs a value above 0. Stock units range from 0.34 to 12.\r\n"
        "(MaxVelocity=1.9;)"),
    row("MaxWaterDepth",
        "The deepest water the unit may enter, in height units below sea level (0 to 255); 0 "
        "keeps it on dry land. A valid MovementClass overrides it.\r\n"
        "(MaxWaterDepth=12;)"),
    row("MetalMake",
        "Metal the unit produces every second once finished, even while switched off. There "
        "is no MetalUse key, so a negative value is the only way to make a unit drain metal "
        "all the time.\r\n"
        "(MetalMake=1;)"),
    row("MetalStorage",
        "Added to the owner's maximum metal storage while the finished unit exists.\r\n"
        "(MetalStorage=1000;)"),
    row("mincloakdistance",
        "Radius in world units: an enemy coming this close uncloaks the unit. A "
        "cloak-capable unit without this key uses 80 in the original game.\r\n"
        "(mincloakdistance=40;)"),
    row("MinWaterDepth",
        "The least water the unit needs under it, in height units below sea level, for "
        "ships, submarines and water structures. A valid MovementClass overrides it.\r\n"
        "(MinWaterDepth=30;)"),
    row("mobilestandorders",
        "Set to 1 if the unit should follow the move orders (hold position, maneuver, roam); "
        "units with 0 are skipped when such an order is given. Stock transports use 0.\r\n"
        "(mobilestandorders=1;)"),
    row("MoveRate1",
        "Speed in world units per tick at which the unit's script is told it has reached a "
        "faster movement stage; stock aircraft scripts use it, e.g. to sweep their wings. "
        "Without this key that stage is never reached. (MoveRate1=8;)"),
    row("MovementClass",
        "A movement class, a CLASS section of gamedata/moveinfo.tdf, that sets the unit's "
        "footprint, slope and water depth limits for moving and path finding. It overrides "
        "the unit's own keys; without a valid class those keys are used.\r\n"
        "(MovementClass=TANKSH2;)"),
    row("Name",
        "The unit's name as shown in the game; the original game keeps up to 31 characters. "
        "Language keys such as FrenchName replace it in other languages.\r\n"
        "(Name=Flash;)"),
    row("NoAutoFire",
        "Meant to keep the unit from firing on its own. The original game ignores it (the "
        "standing fire order decides instead), though TA3D honours it.\r\n"
        "(NoAutoFire=0;)"),
    row("NoChaseCategory",
        "Categories of enemy units this unit will not go after on its own when it spots "
        "them. Without this key the category named none is used, which is normally "
        "empty.\r\n"
        "(NoChaseCategory=CTRL_V;)"),
    row("norestrict",
        "Set to 1 to leave the unit out of the multiplayer unit restriction list, so it "
        "cannot be banned there; commanders use it.\r\n"
        "(norestrict=1;)"),
    row("NoShadow",
        "Set to 1 to draw no shadow under the unit; mostly used on water units.\r\n"
        "(NoShadow=1;)"),
    row("Objectname",
        "Name of the unit's 3D model in objects3d, without the file extension. Units may "
        "share a model; the original game stops with an error if the model is missing.\r\n"
        "(Objectname=ARMFLASH;)"),
    row("onoffable",
        "Set to 1 to let the player switch the unit on and off. Switching off stops "
        "EnergyUse, metal extraction, metal making and wind or tidal power, but not "
        "EnergyMake, MetalMake or storage.\r\n"
        "(onoffable=1;)"),
    row("Ovradjust",
        "Purpose unknown. Many original unit files set it to 1, but the original game "
        "appears never to read it, so it has no known effect.\r\n"
        "(Ovradjust=1;)"),
    row("PigLatinDescription",
        "Shown instead of Description when the game language is the joke Pig Latin. The "
        "stock game appears to list that language, but only one stock unit fills this "
        "in.\r\n"
        "(PigLatinDescription=Astfay attackay Outingscay Ehiclevay;)"),
    row("PigLatinName",
        "Shown instead of Name when the game language is the joke Pig Latin; only one stock "
        "unit fills this in.\r\n"
        "(PigLatinName=Effyjay;)"),
    row("PitchScale",
        "How far an aircraft's nose tips up or down as it speeds up or slows down. 0, the "
        "default, means no pitching; the one stock aircraft that uses it has 1.\r\n"
        "(PitchScale=1;)"),
    row("RadarDistance",
        "Radar range in world units; enemy units within it show up as radar dots. Stock "
        "values run from 400 to 6000.\r\n"
        "(RadarDistance=1440;)"),
    row("RadarDistanceJam",
        "Radius in world units within which the unit hides friendly units from enemy "
        "radar.\r\n"
        "(RadarDistanceJam=400;)"),
    row("Scale",
        "Meant to scale the unit's model. The original game ignores it and TA3D always uses "
        "1, so it has no effect.\r\n"
        "(Scale=1;)"),
    row("SelfDestructAs",
        "The weapon, by its name in weapons/*.tdf, that explodes when the unit "
        "self-destructs. An unknown name means no explosion.\r\n"
        "(SelfDestructAs=BIG_UNIT;)"),
    row("selfdestructcountdown",
        "Length of the self-destruct countdown in seconds; the default is 5. Keep it from 0 "
        "to 5: the original game holds at most 7, and 6 or 7 overrun its countdown "
        "captions.\r\n"
        "(selfdestructcountdown=2;)"),
    row("ShootMe",
        "Set to 1 so a human player's units pick this unit as a target on their own; with 0 "
        "they leave it alone unless ordered, though computer players still shoot it. The "
        "default is 0, so normal units should set 1.\r\n"
        "(ShootMe=1;)"),
    row("ShowPlayerName",
        "Meant to show the owner's player name instead of the unit name, as on commanders. "
        "Some newer engines do this, but it is unclear whether the original game reads the "
        "flag at all.\r\n"
        "(ShowPlayerName=1;)"),
    row("Side",
        "The faction the unit belongs to, matching a side in sidedata.tdf: ARM or CORE. The "
        "computer player only builds units whose Side matches the builder's exactly, "
        "including case.\r\n"
        "(Side=ARM;)"),
    row("SightDistance",
        "Line of sight radius in world units, within which the fog of war is lifted. Stock "
        "values run from 55 to 1350.\r\n"
        "(SightDistance=290;)"),
    row("SonarDistance",
        "Sonar range in world units; units in the water within it are detected.\r\n"
        "(SonarDistance=425;)"),
    row("SonarDistanceJam",
        "Radius in world units within which the unit hides friendly units from enemy "
        "sonar.\r\n"
        "(SonarDistanceJam=650;)"),
    row("sortbias",
        "Purpose unknown: the original game stores the value but nothing appears to use it, "
        "and no stock unit sets it.\r\n"
        "(sortbias=0;)"),
    row("SoundCategory",
        "The unit's sound set: a section of gamedata/sound.tdf with its select, "
        "acknowledge, arrival and other sounds. If the key is missing or the name unknown, "
        "the game normally falls back to the first section of that file.\r\n"
        "(SoundCategory=ARM_TANK;)"),
    row("SpanishDescription",
        "Shown instead of Description when the game language is Spanish.\r\n"
        "(SpanishDescription=Tanque de asalto rapido;)"),
    row("SpanishName",
        "Shown instead of Name when the game language is Spanish.\r\n"
        "(SpanishName=Comandante;)"),
    row("StandingFireOrder",
        "The initial fire order the unit starts with. 0=Hold Fire, 1=Return Fire, 2=Fire at "
        "Will.\r\n"
        "(StandingFireOrder=1;)"),
    row("StandingMoveOrder",
        "The move order the unit starts with: 0 = hold position, 1 = maneuver, 2 = roam. "
        "Units from a factory take the factory's current setting instead; without this key "
        "the original game uses 2.\r\n"
        "(StandingMoveOrder=1;)"),
    row("Stealth",
        "Set to 1 to keep the unit off enemy radar.\r\n"
        "(Stealth=1;)"),
    row("SteeringMode",
        "Meant to choose a way of turning; stock kbots use 2 and most other mobile units 1. "
        "The original game ignores it, so it has no effect, and what it was meant to do is "
        "not known.\r\n"
        "(SteeringMode=1;)"),
    row("TEDClass",
        "The unit's class for the TED map editor: TANK, KBOT, PLANT, VTOL, SHIP, WATER, "
        "SPECIAL, FORT, METAL, ENERGY, CNSTR or COMMANDER. The original game ignores it in "
        "play, but TA3D picks the unit's tactical icon from it.\r\n"
        "(TEDClass=TANK;)"),
    row("teleporter",
        "Set on the stock Galactic Gates. The original game stores it but nothing uses it, so "
        "it does not make a unit teleport.\r\n"
        "(teleporter=1;)"),
    row("ThreeD",
        "Old flag that every stock unit sets to 1. The original game does not read it; just "
        "leave it at 1.\r\n"
        "(ThreeD=1;)"),
    row("TidalGenerator",
        "Tidal power: while switched on, the unit makes this value times the map's tidal "
        "strength in energy every second. The game itself does not check for water; build "
        "placement is what keeps tidal generators at sea.\r\n"
        "(TidalGenerator=1;)"),
    row("TransMaxUnits",
        "The original game appears to ignore it; use transportcapacity there. TA3D reads it "
        "as the most units carried, where 1 means an Atlas-style transport with a single "
        "unit slung underneath.\r\n"
        "(TransMaxUnits=1;)"),
    row("transportcapacity",
        "The most units a transport can carry at once. The original game counts units and "
        "does not add up their sizes.\r\n"
        "(transportcapacity=6;)"),
    row("transportsize",
        "The largest footprint width, in map cells, of a unit this transport can pick up. "
        "All stock transports use 3.\r\n"
        "(transportsize=3;)"),
    row("TurnRate",
        "How far the unit can turn each tick, in angle units where 65536 is a full circle "
        "(1044 is about 172 degrees per second). Stock values run from 64 to 1400; never use "
        "0 on a mobile unit, as the game divides by it.\r\n"
        "(TurnRate=475;)"),
    row("UnitName",
        "The name of the unit that is used for all the other files the unit uses. This FBI "
        "should have the same name as this!\r\n"
        "(UnitName=COROBLIT;)"),
    row("UnitNumber",
        "Old numeric ID, documented as needing to be unique among units. No game engine reads "
        "it, though some replay and recording tools use it.\r\n"
        "(UnitNumber=32;)"),
    row("Upright",
        "Set to 1 to keep the model vertical instead of tilting with the slope, as on kbots "
        "and commanders.\r\n"
        "(Upright=1;)"),
    row("Version",
        "Unit file version. The original game drops any unit whose version is above 3.1 and "
        "reports incompatible units; 3.1 or lower loads normally.\r\n"
        "(Version=1;)"),
    row("WaterLine",
        "How deep the model sits in the water, used by submarines and floating structures; "
        "the original game also uses it to tell where the unit is relative to the water "
        "surface. Use a whole number from 0 to 255, as the original game drops "
        "fractions.\r\n"
        "(WaterLine=8;)"),
    row("Weapon1",
        "The unit's first weapon, by its section name in weapons/*.tdf; the script's primary "
        "weapon functions aim and fire it. An unknown name means no weapon. The original "
        "game has exactly three weapon slots.\r\n"
        "(Weapon1=EMG;)"),
    row("Weapon2",
        "The unit's second weapon, by its section name in weapons/*.tdf, aimed and fired by "
        "the script's secondary weapon functions.\r\n"
        "(Weapon2=ARMDEPTHCHARGE;)"),
    row("Weapon3",
        "The unit's third weapon, by its section name in weapons/*.tdf, driven by the "
        "script's tertiary weapon functions. Stock commanders keep their D-gun here.\r\n"
        "(Weapon3=ARM_DISINTEGRATOR;)"),
    row("WindGenerator",
        "Wind power: while switched on, the unit makes this value times the wind strength "
        "divided by 5000 (never more than this value) in energy every second. The wind "
        "changes every 5 to 14 seconds within the map's range, and the computer player skips "
        "wind generators where the maximum wind is below 2500.\r\n"
        "(WindGenerator=30;)"),
    row("WorkerTime",
        "Build power: how many BuildTime units the unit adds per second when building, "
        "repairing or reclaiming.\r\n"
        "(WorkerTime=100;)"),
    row("wpri_badTargetCategory",
        "Categories the first weapon avoids: it picks such a target only when nothing else is "
        "available, and drops it when it next looks for a target. Without this key the "
        "category named none is used, which is normally empty.\r\n"
        "(wpri_badTargetCategory=CTRL_V;)"),
    row("wsec_badTargetCategory",
        "Categories the second weapon avoids, working like wpri_badTargetCategory. The third "
        "weapon's key is wspe_badTargetCategory in the original game.\r\n"
        "(wsec_badTargetCategory=NOTAIR;)"),
    row("YardMap",
        "Defines the unit footprint in more detail (buildings only). Each area of the grid is "
        "given a symbol which tells TA if units can pass over, be restricted from or allow to "
        "be built on water, etc.\r\n"
        "(YardMap=ooo ooo;)"),
    row("ZBuffer",
        "A drawing option of the original game: with 1, the parts of the unit's picture "
        "overlap by height rather than by drawing order. Nearly every stock unit sets 1; "
        "TA3D ignores it.\r\n"
        "(ZBuffer=1;)"),
};

static_assert(std::size(helpTable) == 135, "the help table has one row per known variable");

} // namespace

std::span<const VariableHelpEntry> variableHelpTable()
{
    return helpTable;
}

QString VariableHelpText(QStringView name)
{
    // A commented-out line is ignored by the game, whatever the name after "//".
    if (name.startsWith(u"//"))
        return QString(CommentedOutHelpText);

    for (const VariableHelpEntry &entry : helpTable) {
        if (name.compare(entry.key, Qt::CaseSensitive) == 0)
            return QString(entry.text);
    }
    return QString(DefaultHelpText);
}

} // namespace Help
