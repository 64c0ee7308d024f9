#pragma once

#include <QString>

#include <optional>

// The values of a weapon section that its firing figures come from, as the section writes them
// (empty: not set). damage is its [DAMAGE] default.
struct WeaponValues
{
    QString reloadTime;
    QString burst;
    QString burstRate;
    QString projectiles;
    QString damage;
    QString weaponType;
    QString beamWeapon;
    QString beamBurst;
    QString stockpile;
};

enum class Engine { Ta3d, Spring, Rwe };

// How often a weapon fires and what it deals against the default target, as one engine reads the
// section, with that engine's defaults for what it leaves out:
//   TA3D:   cycle = reloadtime + (burst - 1) * burstrate
//   Spring: cycle = max(reloadtime, burst * burstrate), each in whole frames of 1/30 s, at least one;
//           a beam laser without beamburst fires one shot, and a stockpiled weapon reloads in 2 s
//   RWE:    cycle = max(reloadtime, (burst - 1) * burstrate)
//   damage per second = default damage * burst (* projectiles in Spring) / cycle
// Nothing where the engine has no figure: a cycle of no time, or (RWE) no default damage.
struct FiringFigures
{
    std::optional<double> cycle;
    std::optional<double> damagePerSecond;
};

FiringFigures firingFigures(const WeaponValues &values, Engine engine);

// The formula of firingFigures for an engine, as one line for a tooltip.
QString firingFormula(Engine engine);
QString engineName(Engine engine);
