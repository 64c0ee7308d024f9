#pragma once

#include <QString>

class DocumentWindow;

// The document set: numbering, the file commands and the controls that need an open document.
namespace FileCommands {
// Creates an empty document in the lowest free number and shows its window. Returns nullptr only
// when every document number is in use.
DocumentWindow *NewDocument();

// Opens the unit file at path into a new document; a failure is reported to the user.
void OpenDocument(const QString &path);

// Writes the window's document to path. Returns false, after telling the user, when the file
// could not be written; the file on disk is then as it was.
bool SaveDocument(DocumentWindow *window, const QString &path);

// Called once a document window has closed and its number is marked free.
void DocumentClosed();

// The file commands, the same from the document window's menu, the main window's menu and the toolbar.
void OpenCommand();
// Save to the document's file, or ask for one. True when the document was written.
bool SaveCommand(DocumentWindow *window);
bool SaveAsCommand(DocumentWindow *window);

// The caption for a document read from or saved to path: the name after the last separator,
// or nothing when the path holds no separator.
QString captionForPath(const QString &path);
}
