#pragma once
// What the type and category editors ask of the window that opened them
// (the main view; tests give their own).
class CDC;
class CRect;

class IItemEditorHost {
public:
    virtual ~IItemEditorHost() = default;
    // After a type or category was added, changed or deleted in the
    // database: save, notices and the plug-in's signal, then the filter
    // combos and views follow. operation and itemClass as in ChangeNotify.h.
    // The save's result (0: saved).
    virtual int CommitItemChange(int operation, int itemClass, int itemId) = 0;
    // Draws the icon with that id into the rectangle; nothing by default.
    virtual void DrawItemIcon(CDC*, const CRect&, int) {}
    // Lets the user choose an icon, starting from icon; false when none was
    // chosen (no chooser: never).
    virtual bool ChooseIcon(int&) { return false; }
};
