#include "support/MemorySettings.h"

void MemorySettings::write(const QString &key, const QString &value)
{
    values.insert(key, value);
    writes.append({key, value});
}
