#pragma once

#include "platform/Registry.h"

#include <QList>
#include <QStringList>

#include <functional>

// A registry that records every call in order, with its exact keys, names, types and bytes, and
// answers each with one status. Keys it hands out are numbered from 1; a failing call hands out 0.
class RecordingRegistry final : public Registry
{
public:
    struct Call
    {
        enum class Kind { CreateKey, OpenKey, SetValue, CloseKey };
        Kind kind;
        Key key = 0;            // the root, or the key written or closed
        QString subKey;
        quint32 options = 0;
        quint32 access = 0;
        QString valueName;
        quint32 type = 0;
        QByteArray data;
        Key result = 0;         // the key handed out
    };

    QList<Call> calls;
    qint32 status = Success;
    // Called after each call is recorded, so a test can see what happened around it.
    std::function<void(const Call &)> observer;

    // One line per call, as the Windows calls would read: RegSetValueExA(2, "", 1, "Korvid4\0", 8).
    QStringList log() const;
    static QString describe(const Call &call);

    qint32 createKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result,
                     quint32 *disposition) override;
    qint32 openKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result) override;
    qint32 setValue(Key key, const QString &valueName, quint32 type, const QByteArray &data) override;
    qint32 closeKey(Key key) override;

private:
    void record(const Call &call);

    Key m_nextKey = 1;
};
