#pragma once

#include "mod/ModTable.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class ModIndex;

// The Units table's read-only columns of weapon figures: for each weapon slot any unit fills, the
// range, reload time and default damage of the weapon the slot names, and its damage per second
// (Spring's firing cycle; the cell's tooltip gives TA3D's and RWE's too).
class WeaponColumns final : public ModTable::ComputedSource
{
public:
    // The columns and cells anew from the tables as they stand. A weapon's figures are kept from one
    // update to the next until forgetWeapons().
    void update(const ModIndex &index);
    // A weapon changed: the next update works their figures out again.
    void forgetWeapons() { m_weaponsChanged = true; }

    const QList<ModTable::ComputedColumn> &columns() const { return m_columns; }
    // The Units table's WeaponN column whose weapon a computed column shows; -1 for none.
    int slotColumn(int column) const;
    QByteArrayView text(int row, int column) const override;
    QString toolTip(int row, int column) const override;

    static constexpr int FiguresPerSlot = 4;

private:
    struct Figures
    {
        std::array<QByteArray, FiguresPerSlot> texts;
        QString source;         // the weapon's section and file
        QString perEngine;      // every engine's damage per second
    };
    const Figures *figuresAt(int row, int slot) const;

    const ModTable *m_units = nullptr;
    const ModTable *m_weapons = nullptr;
    QList<ModTable::ComputedColumn> m_columns;
    int m_slots = 0;
    std::vector<int> m_slotColumns;     // the Units table's WeaponN columns, by slot from 0
    std::vector<int> m_weaponOf;        // by row and slot: the Weapons table's row, -1 for none
    // By row of the Weapons table, worked out when first asked for.
    mutable std::vector<std::optional<Figures>> m_figures;
    bool m_weaponsChanged = true;
};
