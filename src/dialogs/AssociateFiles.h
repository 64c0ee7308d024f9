#pragma once

class Dialogs;
class FileTypeRegistry;
class QWidget;

// Makes ".fbi" files open with this program and tells the user how it went: why it failed, or on
// Windows that the change wants a restart. True when the files are associated.
bool associateFbiFiles(FileTypeRegistry &registry, Dialogs &dialogs, QWidget *owner);
