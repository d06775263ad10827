#pragma once
// IRecordClipboardText: the exchange text of the Edit menu's Copy, Cut and
// Paste, so that the main view reaches the exchange layer's writer and
// import without knowing them. The exchange layer implements it and the
// program installs it at start-up; without one, Copy copies nothing and Paste
// imports nothing.
#include <string>
#include <vector>

class CDatabaseObj;
class CNotifyProviderList;
class CRecord;

class IRecordClipboardText {
public:
    virtual ~IRecordClipboardText() = default;
    // The records as the clipboard's exchange text: the version 3.0 header,
    // then each record after its type's line (when the type changes), never
    // encrypted and without attachment values.
    virtual std::string WriteRecords(const CDatabaseObj& db, const std::vector<const CRecord*>& records) = 0;
    // Adds what the clipboard's text holds to the database, in memory, as
    // the import of a version 3.0 text without a cipher does; the records
    // added go to added in text order, a notice per added item to notices
    // (may be null).
    virtual void ImportText(CDatabaseObj& db, const std::string& text, CNotifyProviderList* notices,
                            std::vector<CRecord*>& added) = 0;
};

// The one in use (null: none installed).
IRecordClipboardText* GetRecordClipboardText();
// Installs one (null: none); returns the previous one.
IRecordClipboardText* SetRecordClipboardText(IRecordClipboardText* text);
