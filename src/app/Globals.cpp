#include "app/Globals.h"

namespace Globals {
QString VariableDir;
QString ProjectDir;
bool IsAssociated = false;
QList<DocState> DocStates;
QList<QPointer<DocumentWindow>> DocWindows;
qint16 CurrentDoc = 0;
bool SectionEnded = false;
}

void Globals::reset()
{
    VariableDir.clear();
    ProjectDir.clear();
    IsAssociated = false;
    DocStates.clear();
    DocWindows.clear();
    CurrentDoc = 0;
    SectionEnded = false;
}
