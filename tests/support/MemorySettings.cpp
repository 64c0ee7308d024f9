#include "support/MemorySettings.h"

bool MemorySettings::write(const QString &key, const QString &value)
{
    if (failWrites)
        return false;
    values.insert(key, value);
    writes.append({key, value});
    return true;
}
