#pragma once

#include <QStringList>

class QTextStream;

// The program's work without a window: `korvid4 --check DIR` checks a mod and prints its problems,
// `korvid4 --help` lists the options. It needs no display, so a mod's own repository can run it in
// its continuous integration.
namespace CommandLineTool {

enum ExitCode {
    NoProblems = 0,
    ProblemsFound = 1,
    CannotCheck = 2,    // the folder cannot be read, or the options are wrong
};

// Whether the arguments (the program's name first) ask for the command line's work rather than
// for the editor's windows.
bool handles(const QStringList &arguments);

// Does what the arguments ask, printing to out and err; returns the exit code.
int run(const QStringList &arguments, QTextStream &out, QTextStream &err);

}
