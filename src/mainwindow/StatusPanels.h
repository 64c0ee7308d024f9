#pragma once

class QLabel;
class QStatusBar;

// The panels of the main window's status bar, by what each shows: the active document's path, the
// messages of the commands, the lock keys' states and the program's version.
class StatusPanels
{
public:
    explicit StatusPanels(QStatusBar *bar);

    QLabel *path;
    QLabel *message;
    QLabel *capsLock;
    QLabel *numLock;
    QLabel *insert;
    QLabel *version;

    // A panel whose key is off, or whose state the platform cannot tell, is greyed.
    void showKeys(bool capsLockOn, bool numLockOn, bool insertOn);
};
