#pragma once

#include <QString>

// What the main window's commands ask of the active window, whatever it shows: a document's rows or
// a whole mod's table. The main window's named actions call these; each window says what it can do
// now through editState(), and tells when that changes with a signal of its own.
class EditingView
{
public:
    struct State
    {
        bool undo = false;
        bool redo = false;
        QString undoText;       // the step Undo would undo, such as "Change Value"
        QString redoText;
        bool cut = false;
        bool copy = false;
        bool paste = false;
        bool remove = false;    // Edit > Delete
        bool selectAll = false;
        bool find = false;
        bool replace = false;
        bool goToDefinition = false;   // the row or cell names another definition of its mod
        bool save = false;
    };

    virtual ~EditingView() = default;

    virtual State editState() const = 0;
    virtual void undo() = 0;
    virtual void redo() = 0;
    virtual void cut() = 0;
    virtual void copy() = 0;
    virtual void paste() = 0;
    virtual void deleteSelection() = 0;
    virtual void selectAll() = 0;
    virtual void find() = 0;
    virtual void findNext() = 0;
    virtual void replace() = 0;
    // True when everything the window shows is on disk afterwards.
    virtual bool save() = 0;
    virtual bool saveAs() = 0;
};
