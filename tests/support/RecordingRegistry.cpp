#include "support/RecordingRegistry.h"

namespace {
QString quoted(const QByteArray &bytes)
{
    QString text(QLatin1Char('"'));
    for (const char byte : bytes) {
        const auto c = quint8(byte);
        text += c < 0x20 ? QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0')) : QString(QChar::fromLatin1(byte));
    }
    return text + QLatin1Char('"');
}

QString keyCall(const char *call, Registry::Key root, const QString &subKey, quint32 options, quint32 access,
                Registry::Key result)
{
    const QString rootName = root == Registry::ClassesRoot ? QStringLiteral("HKCR") : QString::number(root);
    return QStringLiteral("%1(%2, %3, %4, 0x%5) -> %6")
        .arg(QLatin1String(call), rootName, quoted(subKey.toLocal8Bit()), QString::number(options),
             QString::number(access, 16), QString::number(result));
}
}

qint32 RecordingRegistry::record(const QString &line)
{
    log.append(line);
    if (observer)
        observer();
    return status;
}

qint32 RecordingRegistry::createKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result,
                                    quint32 *disposition)
{
    *result = status == Success ? m_nextKey++ : 0;
    *disposition = status == Success ? CreatedNewKey : 0;
    return record(keyCall("create", root, subKey, options, access, *result));
}

qint32 RecordingRegistry::openKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result)
{
    *result = status == Success ? m_nextKey++ : 0;
    return record(keyCall("open", root, subKey, options, access, *result));
}

qint32 RecordingRegistry::setValue(Key key, const QString &valueName, quint32 type, const QByteArray &data)
{
    // One pass over the pattern: the data may hold "%1" itself.
    return record(QStringLiteral("set(%1, %2, %3, %4, %5)")
                      .arg(QString::number(key), quoted(valueName.toLocal8Bit()), QString::number(type), quoted(data),
                           QString::number(data.size())));
}

qint32 RecordingRegistry::closeKey(Key key)
{
    return record(QStringLiteral("close(%1)").arg(key));
}
