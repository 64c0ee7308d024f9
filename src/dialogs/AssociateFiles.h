#pragma once

class Dialogs;
class QWidget;
class Registry;

// Makes ".fbi" files open with this program, then tells the user that the change needs a restart.
void associateFbiFilesAndTell(Registry &registry, Dialogs &dialogs, QWidget *owner);
