#pragma once

class Dialogs;
class DocumentWindow;
class QString;
class QWidget;

// Opens the value editor on the variable the window has selected, with the help the panel shows;
// OK changes the value as one step of the document's history. An edit the document refuses (the
// reader's limits) is told in a message; nothing changes then.
void editSelectedValue(DocumentWindow &window, const QString &help, Dialogs &dialogs, QWidget *owner);
