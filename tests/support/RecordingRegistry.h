#pragma once

#include "association/Registry.h"

#include <QStringList>

#include <functional>

// A registry that records every call as one line, in order, with its exact keys, names, types and
// bytes, and answers each with one status. Keys it hands out are numbered from 1; a failing call
// hands out 0.
class RecordingRegistry final : public Registry
{
public:
    // create(HKCR, ".fbi", 0, 0x3f) -> 1, open(...) -> 2, set(2, "", 1, "Korvid4\x00", 8), close(2):
    // texts in quotes as they are, bytes below 0x20 as \xNN.
    QStringList log;
    qint32 status = Success;
    // Called after each call is recorded, so a test can see what happened around it.
    std::function<void()> observer;

    qint32 createKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result,
                     quint32 *disposition) override;
    qint32 openKey(Key root, const QString &subKey, quint32 options, quint32 access, Key *result) override;
    qint32 setValue(Key key, const QString &valueName, quint32 type, const QByteArray &data) override;
    qint32 closeKey(Key key) override;

private:
    qint32 record(const QString &line);

    Key m_nextKey = 1;
};
