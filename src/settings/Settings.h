#pragma once

#include <QString>

// The per-user settings, stored under the program title "Korvid4" in the group "Options".
class Settings
{
public:
    static inline const QString ProgramTitle = QStringLiteral("Korvid4");
    static inline const QString FirstRun = QStringLiteral("FirstRun");
    static inline const QString VariableDir = QStringLiteral("VariableDir");
    static inline const QString ProjectDir = QStringLiteral("ProjectDir");
    static inline const QString Associated = QStringLiteral("Associated");
    static inline const QString KeepLayout = QStringLiteral("KeepLayout");
    // The main window's place, size and maximised state, as Qt saves a window's geometry (base64).
    static inline const QString MainWindowGeometry = QStringLiteral("MainWindowGeometry");
    // How Find and Replace match, as the user last chose: "1" or "0".
    static inline const QString ReplaceWholeValue = QStringLiteral("ReplaceWholeValue");
    static inline const QString ReplaceMatchCase = QStringLiteral("ReplaceMatchCase");
    // Save All of a table shows what it writes first unless this is "0" ("Don't ask again").
    static inline const QString SaveAllPreview = QStringLiteral("SaveAllPreview");
    static inline const QString SetValue = QStringLiteral("1");
    static inline const QString UnsetValue = QStringLiteral("0");

    // Where the settings live: the platform's per-user store, or a test's own.
    class Store
    {
    public:
        virtual ~Store() = default;
        virtual QString read(const QString &key) = 0;
        // False when the value could not be kept (a read-only or full settings folder).
        virtual bool write(const QString &key, const QString &value) = 0;
        // Where the values are kept, as a user would look for it.
        virtual QString location() const = 0;
    };

    // The platform's store when store is nullptr; the caller keeps ownership of its own store.
    explicit Settings(Store *store = nullptr);
    ~Settings();
    Settings(const Settings &) = delete;
    Settings &operator=(const Settings &) = delete;

    // An absent key reads as empty.
    QString read(const QString &key) const;
    bool write(const QString &key, const QString &value);
    // Only the exact text "1" counts as set.
    bool isSet(const QString &key) const;
    QString location() const;

    // True once a write has failed since the settings were made.
    bool writeFailed() const { return m_writeFailed; }

private:
    Store *m_ownStore = nullptr;
    Store *m_store;
    bool m_writeFailed = false;
};

// The settings as the program uses them, read once at start; the application object keeps them and
// the settings in step when the user changes the options.
struct Options
{
    QString variableFile;       // the known-variable list
    QString projectFolder;      // where the file dialogs start
    bool associated = false;
    // Saves keep each file's own text; on unless the setting is exactly "0", so it is on for a
    // user who never set it too.
    bool keepLayout = true;

    static Options read(const Settings &settings);
};
