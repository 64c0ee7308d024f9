#include "support/RecordingRegistry.h"

namespace {
QString keyName(Registry::Key key)
{
    return key == Registry::ClassesRoot ? QStringLiteral("HKEY_CLASSES_ROOT") : QString::number(key);
}

QString quoted(const QByteArray &bytes)
{
    QString text(QLatin1Char('"'));
    for (const char byte : bytes) {
        const auto c = quint8(byte);
        if (c == 0)
            text += QStringLiteral("\\0");
        else if (c == '"' || c == '\\')
            text += QStringLiteral("\\") + QLatin1Char(byte);
        else if (c >= 0x20 && c < 0x7F)
            text += QLatin1Char(byte);
        else
            text += QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0'));
    }
    return text + QLatin1Char('"');
}
}

QString RecordingRegistry::describe(const Call &call)
{
    const auto hex = [](quint32 value) { return QStringLiteral("0x%1").arg(value, 0, 16); };
    switch (call.kind) {
    case Call::Kind::CreateKey:
        return QStringLiteral("RegCreateKeyExA(%1, %2, %3, %4) -> %5")
            .arg(keyName(call.key), quoted(call.subKey.toLocal8Bit()), hex(call.options), hex(call.access),
                 QString::number(call.result));
    case Call::Kind::OpenKey:
        return QStringLiteral("RegOpenKeyExA(%1, %2, %3, %4) -> %5")
            .arg(keyName(call.key), quoted(call.subKey.toLocal8Bit()), hex(call.options), hex(call.access),
                 QString::number(call.result));
    case Call::Kind::SetValue:
        // One pass over the pattern: the data may hold "%1" itself.
        return QStringLiteral("RegSetValueExA(%1, %2, %3, %4, %5)")
            .arg(keyName(call.key), quoted(call.valueName.toLocal8Bit()), QString::number(call.type),
                 quoted(call.data), QString::number(call.data.size()));
    case Call::Kind::CloseKey:
        return QStringLiteral("RegCloseKey(%1)").arg(keyName(call.key));
    }
    return QString();
}

QStringList RecordingRegistry::log() const
{
    QStringList lines;
    for (const Call &call : calls)
        lines.append(describe(call));
    return lines;
}

void RecordingRegistry::record(const Call &call)
{
    calls.append(call);
    if (observer)
        observer(call);
}

qint32 RecordingRegistry::createKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result,
                                    quint32 *disposition)
{
    const Key key = status == Success ? m_nextKey++ : 0;
    if (result)
        *result = key;
    if (disposition)
        *disposition = key ? CreatedNewKey : 0;
    record({Call::Kind::CreateKey, root, subKey, options, access, {}, 0, {}, key});
    return status;
}

qint32 RecordingRegistry::openKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result)
{
    const Key key = status == Success ? m_nextKey++ : 0;
    if (result)
        *result = key;
    record({Call::Kind::OpenKey, root, subKey, options, access, {}, 0, {}, key});
    return status;
}

qint32 RecordingRegistry::setValue(Key key, const QString &valueName, quint32 type, const QByteArray &data)
{
    record({Call::Kind::SetValue, key, {}, 0, 0, valueName, type, data, 0});
    return status;
}

qint32 RecordingRegistry::closeKey(Key key)
{
    record({Call::Kind::CloseKey, key, {}, 0, 0, {}, 0, {}, 0});
    return status;
}
