#pragma once

#include "documents/DocState.h"

#include <QList>
#include <QPointer>
#include <QString>

class DocumentWindow;

// The program-wide state: the settings read at start and the document set.
namespace Globals {
// Read from the settings once at start; the options dialog changes the settings, not these.
extern QString VariableDir;
extern QString ProjectDir;
extern bool IsAssociated;

// The document set, indexed by document number. Entry 0 is never used by a document.
extern QList<DocState> DocStates;
extern QList<QPointer<DocumentWindow>> DocWindows;
// The number of the document the current operation works on.
extern qint16 CurrentDoc;
// Set once the last reading loop met the unit section's closing brace.
extern bool SectionEnded;

inline constexpr int MaxDocumentNumber = 32767;

// Back to the state before start-up: no settings read, no document set.
void reset();
}
