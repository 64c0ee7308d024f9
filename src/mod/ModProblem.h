#pragma once

#include <QList>
#include <QString>

// One fault of a mod: where it is, what kind it is, and what it does in the engines.
struct ModProblem
{
    enum class Severity {
        Error,      // an engine loses what the file says, or refuses the mod
        Warning,    // an engine reads something else than what was meant
        Note,       // harmless in the engines that read it, or read by one engine only
    };

    Severity severity = Severity::Error;
    QString path;           // the file as found
    QString relativePath;   // from the mod's folder, with "/" between folders
    int line = 0;           // counted from 1; 0 when the problem is the file as a whole
    QString kind;           // such as "missing-weapon"
    QString message;
    friend bool operator==(const ModProblem &, const ModProblem &) = default;
};

// "error", "warning", "note".
QString severityName(ModProblem::Severity severity);

// A kind of problem the check finds, with what it looks for.
struct ModProblemKind
{
    QString name;
    QString description;
};

// Every kind, in the order they are listed to the user.
QList<ModProblemKind> modProblemKinds();
bool isProblemKind(const QString &name);

// By file (as the relative path reads), then line, then kind.
bool problemBefore(const ModProblem &left, const ModProblem &right);
