#pragma once

class Dialogs;
class QWidget;
class Registry;

// Makes ".fbi" files open with this program, then tells the user where the change needs a restart
// (Windows).
void associateFbiFilesAndTell(Registry &registry, Dialogs &dialogs, QWidget *owner);
