#pragma once
// The export of records as exchange text, without windows: the main view
// chooses the records (all, the current view's or the selected ones) and the
// target, and shows the message this returns.
//
// The text grows as it is written and goes to the file in pieces; nothing
// is bounded by an estimate of its size.
#include <string>
#include <vector>

#include "core/crypto/Blowfish.h"
#include "core/items/UniqueKey.h"
#include "framework/CArray.h"
#include "framework/CString.h"

class CDatabaseObj;
class CRecord;

class CExportWriter {
public:
    // format 1 export text, 3 to 5 the ZkvFile versions 2.0 to 4.0 (version
    // 1.0 is read only); cipher encrypts the values of formats 3 to 5 (null:
    // plain; export text is never encrypted).
    CExportWriter(const CDatabaseObj& db, int format, const BlowfishContext* cipher);

    // Forgets the type of the last type line written.
    void ResetTypeTracking();
    void WriteHeader(std::string& out) const;
    // The type line of the key unless it is the last one written (ZkvFile
    // formats only): the type's name and ten labels (the default label
    // where it has none), or the "Unfiled" line when no live type has it.
    void WriteTypeLineFor(std::string& out, const uint8_t typeKey[kUniqueKeySize]);
    // One record's line. withAttachments (format 5): its attachment's name,
    // key and stored base name, the stored file name going to
    // attachmentFiles; else three empty values. noAttachmentValues leaves
    // them out (clipboard text).
    void WriteRecordText(std::string& out, const CRecord& record, bool withAttachments, bool noAttachmentValues,
                         CStringArray* attachmentFiles);
    // The records in order, each after its type line when that changes.
    void WriteRecords(std::string& out, const std::vector<const CRecord*>& records, bool withAttachments,
                      CStringArray* attachmentFiles);

private:
    const CDatabaseObj& m_db;
    const int m_format;
    const BlowfishContext* m_cipher;
    uint8_t m_lastTypeKey[kUniqueKeySize];
};

// Every record of the database that is not deleted, in list order.
std::vector<const CRecord*> CollectAllRecords(const CDatabaseObj& db);
// A first size of the text (the clipboard's copy reserves it).
size_t EstimateExportSize(const CDatabaseObj& db, const BlowfishContext* cipher);

// Writes the text to the file (format 5: path names the exchange folder,
// created when missing, and the file inside it bears the folder's name).
// The file is written beside the target and put in place once all of it
// reached the disk, so a failure leaves an existing file as it was. 0,
// IDS_EXPORT_CREATE_ERROR (602) or IDS_EXPORT_WRITE_ERROR (603).
unsigned SaveExportText(int format, const std::string& text, const CString& path);
// Format 5: copies the listed stored files from attachmentsFolder into the
// folder's "Files" (created when missing); files that are missing are
// passed over. The number copied.
int CopyExportAttachments(int format, const CStringArray& files, const CString& path, const CString& attachmentsFolder);
// The whole export of the records, written to the file as it is made (as
// SaveExportText); attachments are copied afterwards whatever the result.
// 0 on success, else the message id.
unsigned WriteExportFile(const CDatabaseObj& db, int format, const std::vector<const CRecord*>& records,
                         bool withAttachments, const CString& path, const BlowfishContext* cipher,
                         const CString& attachmentsFolder);
