#pragma once
// CRecord: one record (a login, card, note ...): ten field values of its
// type, notes, category, per-record labels, identity and attachment.
#include <memory>

#include "core/items/BaseItem.h"

class CTypeItem;

// While one lives on this thread, new records leave their uid null instead
// of drawing one: records read from a file take the file's (a file without
// uids gets new ones as each record is read). Object lists set it while they
// load, where a key drawn first, with its clock and time-zone lookup, would
// only be thrown away.
class CRecordUidFromFileScope {
public:
    CRecordUidFromFileScope();
    ~CRecordUidFromFileScope();
    CRecordUidFromFileScope(const CRecordUidFromFileScope&) = delete;
    CRecordUidFromFileScope& operator=(const CRecordUidFromFileScope&) = delete;

private:
    bool m_previous;
};

class CRecord : public CBaseItem {
    DECLARE_SERIAL(CRecord)

public:
    CRecord();
    ~CRecord() override;

    int GetItemKind() const override { return kItemKindRecord; }

    // A record's identity across databases is its own uid, not its type key.
    void SetUid(const uint8_t uid[kUniqueKeySize]) override;
    const uint8_t* GetUid() const override { return m_uid; }
    // The record's type is referred to by key: the base key.
    void SetTypeKey(const uint8_t key[kUniqueKeySize]) { SetKey(key); }
    const uint8_t* GetTypeKey() const { return GetKey(); }
    void SetCategoryKey(const uint8_t key[kUniqueKeySize]);
    const uint8_t* GetCategoryKey() const { return m_categoryKey; }

    void CopyFrom(const CBaseItem* source) override;
    // As the base, and for a record with an attachment also copies its
    // stored attachment file from the source database's "Files" folder to
    // the target database's.
    int CopyInto(CBaseItem* target, const CBaseItem* source, const CString& sourceDatabasePath,
                 const CString& targetDatabasePath) const override;

    // Header: type key at 2-9, category key at 10-17, icon at 18-19, hidden
    // mask at 20-21; body: ten values, notes, view count as decimal text,
    // attachment name and key, then the custom labels when any is set.
    size_t PackedSize() const override;
    uint8_t* WriteBody(uint8_t* buffer) const override;
    const uint8_t* ReadBody(const uint8_t* buffer, const uint8_t* end, int schema) override;
    // The old record form encrypts from the field after the first one.
    int UnpackV2(const BlowfishContext* key) override;
    int CloneIntoListReversed(CObjectList& list, CBaseItem* target, const CString& firstPath,
                              const CString& secondPath) const override;

    CString GetNotes() const override { return m_notes; }
    void SetNotes(const CString& notes) { m_notes = notes; }
    int NotesSize() const override;
    void WriteNotes(uint8_t*& cursor) const override;
    void ReadNotes(const uint8_t*& cursor, const uint8_t* end) override;

    // Label i: the record's own label, else the type's (which may be empty),
    // else (no type) the default label; with appendColon a ':' is added to a
    // non-empty label that does not end in one.
    CString GetFieldLabel(int index, const CTypeItem* type, bool appendColon) const;
    void GetFieldLabels(const CTypeItem* type, CStringArray& labels) const;
    // Keeps a label of its own only when it differs from the type's.
    void SetFieldLabel(int index, const CString& text, const CTypeItem* type);
    void SetCustomLabels(const CStringArray& labels);
    CString GetCustomLabel(int index) const;
    // The other record's ten custom labels and its hidden mask.
    void CopyCustomLabels(const CRecord& other);
    // Takes type key, icon and hidden mask from the type (none: null key,
    // icon 24, no mask) and drops every custom label.
    void SetType(const CTypeItem* type);

    // Not deleted, and type and category each equal the filter's key or the
    // filter key is KEY_ALL. The null key matches only unfiled records.
    bool MatchesFilter(const uint8_t typeKey[kUniqueKeySize], const uint8_t categoryKey[kUniqueKeySize]) const;
    // Searches the fields whose bit is set in fieldMask (unmasked values),
    // then the notes. An empty text matches every record.
    bool MatchesSearch(const CString& text, bool caseSensitive, bool wholeWord, WORD fieldMask) const;

    int32_t GetViewCount() const { return m_viewCount; }
    void SetViewCount(int32_t count) { m_viewCount = count; }

    bool HasAttachment() const { return !RareText(kAttachmentNameText).IsEmpty(); }
    CString GetAttachmentName() const { return RareText(kAttachmentNameText); }
    void SetAttachmentName(const CString& name) { SetRareText(kAttachmentNameText, CString(name)); }
    CString GetAttachmentKey() const { return RareText(kAttachmentKeyText); }
    void SetAttachmentKey(const CString& key) { SetRareText(kAttachmentKeyText, CString(key)); }
    // Name of the stored attachment file: the id in lower-case hex + ".zfa".
    CString GetAttachmentFileName() const;
    // Deletes the stored file in the "Files" folder beside the database file
    // and forgets the attachment; 0 and nothing changed for an empty path,
    // else non-zero when the file was deleted.
    int DeleteAttachmentFile(const CString& databasePath);

protected:
    CString* MainText() override { return &m_notes; }
    void FillOldSchemaDefaults() override;
    bool HasCustomLabels() const;

    // Texts most records leave empty: the ten custom labels (0-9), then the
    // attachment's name and key. They live apart, made when one is first
    // set, so that a record without them stays small.
    enum { kAttachmentNameText = kItemFieldCount, kAttachmentKeyText, kRareTextCount };
    struct RareTexts {
        CString texts[kRareTextCount];
    };
    // Text i; an empty one when the record has none.
    const CString& RareText(int index) const;
    void SetRareText(int index, CString&& text);
    void EmptyRareTexts(int first, int count);

    CString m_notes;
    uint8_t m_categoryKey[kUniqueKeySize] = {};
    uint8_t m_uid[kUniqueKeySize] = {};
    int32_t m_viewCount = 0;
    std::unique_ptr<RareTexts> m_rare;
};
