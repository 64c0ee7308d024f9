#pragma once

#include <QString>

// The four per-user settings, stored under the program title "Korvid4" in the group "Options".
namespace Settings {
inline const QString FirstRun = QStringLiteral("FirstRun");
inline const QString VariableDir = QStringLiteral("VariableDir");
inline const QString ProjectDir = QStringLiteral("ProjectDir");
inline const QString Associated = QStringLiteral("Associated");
inline const QString SetValue = QStringLiteral("1");

// Where the settings live. The program uses the platform's per-user store; tests put in their own.
class Store
{
public:
    virtual ~Store() = default;
    virtual QString read(const QString &key) = 0;
    virtual void write(const QString &key, const QString &value) = 0;
};

// Replaces the store in use; nullptr goes back to the platform's store. The caller keeps ownership.
void setStore(Store *store);

// An absent key reads as empty.
QString read(const QString &key);
void write(const QString &key, const QString &value);

// Only the exact text "1" counts as set.
bool isSet(const QString &key);
}
