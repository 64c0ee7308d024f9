#include "mod/WeaponColumns.h"

#include "documents/FbiContent.h"
#include "mod/ModIndex.h"
#include "mod/WeaponFigures.h"

#include <algorithm>

namespace {
constexpr int MaxWeaponSlots = 32;

QByteArray formatted(std::optional<double> value)
{
    return value ? QByteArray::number(*value, 'f', 1) : QByteArray();
}
}

void WeaponColumns::update(const ModIndex &index)
{
    const ModTable &units = index.units();
    const ModTable &weapons = index.weaponTable();
    m_units = &units;
    m_weapons = &weapons;
    if (m_weaponsChanged || m_figures.size() != size_t(weapons.unitCount())) {
        m_figures.assign(size_t(weapons.unitCount()), std::nullopt);
        m_weaponsChanged = false;
    }

    // The slots any unit fills, up to the highest; none when the mod has no weapons to show.
    m_slotColumns.clear();
    for (int slot = 1; slot <= MaxWeaponSlots && weapons.unitCount() > 0; ++slot)
        m_slotColumns.push_back(units.columnOfKey(QStringLiteral("Weapon%1").arg(slot)));
    while (!m_slotColumns.empty() && m_slotColumns.back() < 0)
        m_slotColumns.pop_back();
    m_slots = int(m_slotColumns.size());

    m_columns.clear();
    const QString dpsTip = QStringLiteral("Damage per second against the default target: [DAMAGE] default \u00d7 burst "
                                          "(\u00d7 projectiles) / firing cycle, with %1. The cell's tooltip gives TA3D's "
                                          "and RWE's figures (%2; %3).")
                               .arg(firingFormula(Engine::Spring), firingFormula(Engine::Ta3d), firingFormula(Engine::Rwe));
    for (int slot = 1; slot <= m_slots; ++slot) {
        const QString name = QStringLiteral("Weapon%1").arg(slot);
        m_columns.append({name + QStringLiteral(" range"), QStringLiteral("range= of the weapon %1 names (read only)").arg(name)});
        m_columns.append({name + QStringLiteral(" reload"), QStringLiteral("reloadtime= of the weapon %1 names, in seconds (read only)").arg(name)});
        m_columns.append({name + QStringLiteral(" damage"), QStringLiteral("[DAMAGE] default= of the weapon %1 names (read only)").arg(name)});
        m_columns.append({name + QStringLiteral(" DPS"), dpsTip});
    }

    m_weaponOf.assign(size_t(units.unitCount()) * size_t(m_slots), -1);
    for (int row = 0; row < units.unitCount(); ++row) {
        for (int slot = 0; slot < m_slots; ++slot) {
            const int column = m_slotColumns[size_t(slot)];
            const QByteArrayView name = column > 0 ? units.valueBytes(row, column).trimmed() : QByteArrayView();
            if (name.isEmpty())
                continue;
            // The engines differ on which of two sections of one name they keep; Spring keeps the later.
            const QList<int> found = index.weapons(name);
            if (!found.isEmpty())
                m_weaponOf[size_t(row) * size_t(m_slots) + size_t(slot)] = found.constLast();
        }
    }
}

const WeaponColumns::Figures *WeaponColumns::figuresAt(int row, int slot) const
{
    if (!m_units || row < 0 || slot < 0 || slot >= m_slots || size_t(row) * size_t(m_slots) >= m_weaponOf.size())
        return nullptr;
    const int weapon = m_weaponOf[size_t(row) * size_t(m_slots) + size_t(slot)];
    if (weapon < 0 || size_t(weapon) >= m_figures.size())
        return nullptr;
    std::optional<Figures> &known = m_figures[size_t(weapon)];
    if (known)
        return &*known;
    // Worked out when first shown or sorted by, then kept.
    const ModTable &weapons = *m_weapons;
    auto value = [&](QStringView key) {
        const int column = weapons.columnOfKey(key);
        return column > 0 ? fromFileText(weapons.valueBytes(weapon, column).trimmed()) : QString();
    };
    const WeaponValues values{value(u"reloadtime"), value(u"burst"), value(u"burstrate"), value(u"projectiles"), value(u"damage.default"),
                              value(u"weapontype"), value(u"beamweapon"), value(u"beamburst"), value(u"stockpile")};
    Figures figures;
    figures.texts[0] = toFileText(value(u"range"));
    figures.texts[1] = toFileText(values.reloadTime);
    figures.texts[2] = toFileText(values.damage);
    figures.texts[3] = formatted(firingFigures(values, Engine::Spring).damagePerSecond);
    figures.source = QStringLiteral("[%1] in %2").arg(weapons.unitName(weapon), weapons.relativePath(weapon));
    QStringList perEngine;
    for (const Engine engine : {Engine::Spring, Engine::Ta3d, Engine::Rwe}) {
        const QByteArray dps = formatted(firingFigures(values, engine).damagePerSecond);
        perEngine.append(engineName(engine) + QLatin1Char(' ') + (dps.isEmpty() ? QStringLiteral("none") : QString::fromLatin1(dps)));
    }
    figures.perEngine = perEngine.join(QStringLiteral(", "));
    known = std::move(figures);
    return &*known;
}

int WeaponColumns::slotColumn(int column) const
{
    const int slot = column / FiguresPerSlot;
    return column >= 0 && slot < m_slots ? m_slotColumns[size_t(slot)] : -1;
}

QByteArrayView WeaponColumns::text(int row, int column) const
{
    const Figures *figures = figuresAt(row, column / FiguresPerSlot);
    return figures ? QByteArrayView(figures->texts[size_t(column % FiguresPerSlot)]) : QByteArrayView();
}

QString WeaponColumns::toolTip(int row, int column) const
{
    const int slot = column / FiguresPerSlot;
    if (const Figures *figures = figuresAt(row, slot)) {
        if (column % FiguresPerSlot == FiguresPerSlot - 1)
            return QStringLiteral("%1 damage per second: %2").arg(figures->source, figures->perEngine);
        return figures->source;
    }
    if (!m_units || slot >= m_slots || row < 0 || row >= m_units->unitCount())
        return {};
    const QByteArrayView name = m_units->valueBytes(row, m_slotColumns[size_t(slot)]).trimmed();
    return name.isEmpty() ? QString() : QStringLiteral("No weapon section is named %1").arg(fromFileText(name));
}
