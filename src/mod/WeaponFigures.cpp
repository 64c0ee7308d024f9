#include "mod/WeaponFigures.h"

#include "documents/Numbers.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double FramesPerSecond = 30;

std::optional<double> number(const QString &text)
{
    const std::optional<PlainNumber> parsed = plainNumber(text);
    return parsed ? std::optional<double>(parsed->value) : std::nullopt;
}

double numberOr(const QString &text, double fallback)
{
    return number(text).value_or(fallback);
}

// TA3D reads a whole number as C does: a leading 0 makes it octal, and a fraction makes the
// field fall back to its default.
double ta3dWholeNumber(const QString &text, double fallback)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(QLatin1Char('.')) || !plainNumber(trimmed))
        return fallback;
    bool ok = false;
    const long long value = trimmed.toLongLong(&ok, trimmed.startsWith(QLatin1Char('0')) && trimmed.size() > 1 ? 8 : 10);
    return ok ? double(value) : fallback;
}

bool isSet(const QString &flag)
{
    const QString text = flag.trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("yes"))
        return true;
    return numberOr(text, 0) != 0;
}
}

FiringFigures firingFigures(const WeaponValues &values, Engine engine)
{
    FiringFigures figures;
    double damage = 0;
    double shots = 1;
    double cycle = 0;
    switch (engine) {
    case Engine::Ta3d: {
        const double reload = numberOr(values.reloadTime, 0);
        const double burst = std::max(1.0, ta3dWholeNumber(values.burst, 1));
        const double burstRate = numberOr(values.burstRate, 1);
        damage = numberOr(values.damage, 100);
        shots = burst;
        cycle = reload + (burst - 1) * burstRate;
        break;
    }
    case Engine::Spring: {
        double reload = numberOr(values.reloadTime, 1);
        if (isSet(values.stockpile))
            reload = 2;
        double burst = std::max(1.0, std::floor(numberOr(values.burst, 1)));
        const QString type = values.weaponType.trimmed().toLower();
        const bool beamLaser = type == QLatin1String("beamlaser") || (type.isEmpty() && isSet(values.beamWeapon));
        if (beamLaser && !isSet(values.beamBurst))
            burst = 1;
        const double burstRate = numberOr(values.burstRate, 0.1);
        const double projectiles = std::max(1.0, std::floor(numberOr(values.projectiles, 1)));
        damage = numberOr(values.damage, 1);
        if (damage == 0)
            damage = 1;
        shots = burst * projectiles;
        const double reloadFrames = std::max(1.0, std::floor(reload * FramesPerSecond));
        const double salvoFrames = burst * std::floor(burstRate * FramesPerSecond);
        cycle = std::max(reloadFrames, salvoFrames) / FramesPerSecond;
        break;
    }
    case Engine::Rwe: {
        const std::optional<double> read = number(values.damage);
        if (!read)
            return figures;
        damage = std::floor(std::max(0.0, *read));
        const double reload = numberOr(values.reloadTime, 0);
        const double burst = std::max(1.0, std::floor(numberOr(values.burst, 0)));
        const double burstRate = numberOr(values.burstRate, 0);
        shots = burst;
        cycle = std::max(reload, (burst - 1) * burstRate);
        break;
    }
    }
    if (cycle > 0) {
        figures.cycle = cycle;
        figures.damagePerSecond = damage * shots / cycle;
    }
    return figures;
}

QString firingFormula(Engine engine)
{
    switch (engine) {
    case Engine::Ta3d:
        return QStringLiteral("TA3D: cycle = reloadtime + (burst - 1) \u00d7 burstrate");
    case Engine::Spring:
        return QStringLiteral("Spring: cycle = max(reloadtime, burst \u00d7 burstrate) in whole frames of 1/30 s; "
                              "a beam laser without beamburst fires one shot; a stockpiled weapon reloads in 2 s");
    case Engine::Rwe:
        return QStringLiteral("RWE: cycle = max(reloadtime, (burst - 1) \u00d7 burstrate)");
    }
    return {};
}

QString engineName(Engine engine)
{
    switch (engine) {
    case Engine::Ta3d:
        return QStringLiteral("TA3D");
    case Engine::Spring:
        return QStringLiteral("Spring");
    case Engine::Rwe:
        return QStringLiteral("RWE");
    }
    return {};
}
