#pragma once
// What the record editor asks of the window that opened it (the main view;
// tests give their own): what follows a saved record, deleting the editor's
// record, and the commands that belong to the view.
class CDC;
class CRect;
class CRecord;
class CWnd;

class IRecordEditorHost {
public:
    virtual ~IRecordEditorHost() = default;
    // The record was written by the editor (added: a new record, already in
    // the record list). The host runs what follows every record change (save,
    // event log and smart lists, notice, plug-in signal) and updates its
    // views; the save's result (0: saved).
    virtual int RecordSaved(CRecord* record, bool added) = 0;
    // The editor's Delete on its own record.
    virtual void DeleteRecord(CRecord* record) = 0;
    // Fills the record's web login in the browser.
    virtual void AutoFillRecord(CRecord* record) = 0;
    // Prints the record.
    virtual void PrintRecord(CRecord* record) = 0;
    // Draws the icon with that id into the rectangle; nothing by default.
    virtual void DrawRecordIcon(CDC*, const CRect&, int) {}
    // Lets the user choose an icon, starting from icon, over the editor's
    // window; false when none was chosen (no chooser: never).
    virtual bool ChooseIcon(int&, CWnd*) { return false; }
    // Runs the type or category editor over that list of the database
    // (true: types) as a child of the editor's window; nothing by default.
    virtual void EditItemList(bool, CWnd*) {}
};
