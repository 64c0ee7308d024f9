#include "mod/ModProblem.h"

#include <algorithm>

QString severityName(ModProblem::Severity severity)
{
    switch (severity) {
    case ModProblem::Severity::Error:
        return QStringLiteral("error");
    case ModProblem::Severity::Warning:
        return QStringLiteral("warning");
    case ModProblem::Severity::Note:
        return QStringLiteral("note");
    }
    return {};
}

QList<ModProblemKind> modProblemKinds()
{
    return {
        {QStringLiteral("missing-weapon"), QStringLiteral("a unit's WeaponN names no weapon section")},
        {QStringLiteral("missing-explosion"), QStringLiteral("a unit's ExplodeAs or SelfDestructAs names no weapon section")},
        {QStringLiteral("missing-corpse"), QStringLiteral("a unit's Corpse names no feature section")},
        {QStringLiteral("missing-feature"), QStringLiteral("a feature's featuredead or featureburnt names no feature section")},
        {QStringLiteral("missing-model"), QStringLiteral("a unit's Objectname, a feature's object or a weapon's model names no file in objects3d/")},
        {QStringLiteral("missing-script"), QStringLiteral("no script in scripts/ for a unit")},
        {QStringLiteral("missing-picture"), QStringLiteral("no picture in unitpics/ for a unit, or BuildPic names none")},
        {QStringLiteral("missing-sound-category"), QStringLiteral("a unit's SoundCategory names no section of gamedata/sound.tdf")},
        {QStringLiteral("missing-movement-class"), QStringLiteral("a unit's MovementClass names no class of gamedata/moveinfo.tdf")},
        {QStringLiteral("missing-side"), QStringLiteral("a unit's Side names no side of gamedata/sidedata.tdf")},
        {QStringLiteral("missing-build-entry"), QStringLiteral("a build menu (gamedata/sidedata.tdf, download/) names no unit")},
        {QStringLiteral("duplicate-unit"), QStringLiteral("two units with one UnitName, or one file name")},
        {QStringLiteral("duplicate-unit-number"), QStringLiteral("two units with one UnitNumber")},
        {QStringLiteral("duplicate-weapon"), QStringLiteral("two weapon sections with one name")},
        {QStringLiteral("duplicate-feature"), QStringLiteral("two feature sections with one name")},
        {QStringLiteral("duplicate-key"), QStringLiteral("a key set twice in one section")},
        {QStringLiteral("weapon-gap"), QStringLiteral("a weapon slot after an empty one, which the engines never read")},
        {QStringLiteral("yardmap-size"), QStringLiteral("a YardMap whose cells do not fill FootprintX by FootprintZ")},
        {QStringLiteral("misread-value"), QStringLiteral("a value an engine reads otherwise than it looks")},
        {QStringLiteral("missing-semicolon"), QStringLiteral("a value without the \";\" that ends it")},
        {QStringLiteral("placeholder-value"), QStringLiteral("a value still at the placeholder of a new row")},
        {QStringLiteral("unreadable-file"), QStringLiteral("a definition file that cannot be read")},
    };
}

bool isProblemKind(const QString &name)
{
    const QList<ModProblemKind> kinds = modProblemKinds();
    return std::any_of(kinds.begin(), kinds.end(), [&](const ModProblemKind &kind) { return kind.name == name; });
}

bool problemBefore(const ModProblem &left, const ModProblem &right)
{
    if (const int order = left.relativePath.compare(right.relativePath); order != 0)
        return order < 0;
    if (left.line != right.line)
        return left.line < right.line;
    if (const int order = left.kind.compare(right.kind); order != 0)
        return order < 0;
    return left.message < right.message;
}
