#pragma once
// CBaseItem: the common part of every data-model item (record, type,
// category) as it lives in memory. The packed byte form and the archive
// record are built on top of these fields elsewhere.
#include <cstdint>
#include <vector>

#include "core/crypto/Blowfish.h"
#include "core/items/UniqueKey.h"
#include "framework/CArray.h"
#include "framework/CObject.h"
#include "framework/CString.h"

// Number of field strings (and of a record's custom labels).
constexpr int kItemFieldCount = 10;
// Icon of an item that has none of its own.
constexpr WORD kDefaultItemIcon = 24;
// What a masked, non-empty field shows when masking is asked for.
constexpr const char kMaskedFieldText[] = "****";

// Values of CBaseItem::GetItemKind; they also name the item class in change
// notices.
enum ItemKind { kItemKindNone = -1, kItemKindRecord = 0, kItemKindType = 1, kItemKindCategory = 2 };

// The default label of field i: "Field 1" .. "Field 9", then "Date Mod" for
// the tenth field (and any index beyond). Taken from the string table when it
// has them.
CString DefaultFieldLabel(int index);

class CObjectList;

class CBaseItem : public CObject {
    DECLARE_SERIAL(CBaseItem)

public:
    CBaseItem();
    ~CBaseItem() override;

    virtual int GetItemKind() const { return kItemKindNone; }

    // The item's key: a type's or category's own key, a record's type key.
    virtual void SetKey(const uint8_t key[kUniqueKeySize]);
    virtual const uint8_t* GetKey() const { return m_key; }
    // The identity across databases: the key, or a record's uid.
    virtual void SetUid(const uint8_t uid[kUniqueKeySize]);
    virtual const uint8_t* GetUid() const { return m_key; }

    // Whether deleting the item must leave a tombstone for synchronisation.
    virtual bool NeedsTombstone() const { return m_id != 0; }
    virtual bool AllFieldsEmpty() const;
    // One of the built-in types or categories (key 00 00 00 00 00 00 xx xx).
    virtual bool IsPresetKey() const { return false; }

    // Copies modified, deleted, the fields, mask, key, icon, packed form and
    // checksum, and the modification time when the source has one; never
    // the id, the reserved values or attachment changed.
    virtual void CopyFrom(const CBaseItem* source);
    // target.CopyFrom(source): 0 when either is missing, else 1.
    virtual int CopyInto(CBaseItem* target, const CBaseItem* source, const CString& sourceDatabasePath,
                         const CString& targetDatabasePath) const;

    // The name of a type or category; empty for other items.
    virtual CString GetName() const { return CString(); }
    // Bytes the name takes packed (with its zero), writing and reading it.
    virtual int NameSize() const { return 0; }
    virtual void WriteName(uint8_t*& cursor) const {}
    virtual void ReadName(const uint8_t*& cursor, const uint8_t* end) {}

    // A record's notes; empty for other items.
    virtual CString GetNotes() const { return CString(); }
    // Notes are packed without CRs and read back with CR LF line ends.
    virtual int NotesSize() const { return 0; }
    virtual void WriteNotes(uint8_t*& cursor) const {}
    virtual void ReadNotes(const uint8_t*& cursor, const uint8_t* end) {}

    // Field strings 0..9. Setting outside 0..9 throws CInvalidArgException;
    // reading outside gives an empty text.
    void SetField(int index, const CString& text);
    CString GetField(int index) const;
    bool HasFieldText(int index) const;
    // Field i = strings[i] for the entries given, empty for the rest.
    void SetFieldsFrom(const CStringArray& strings);
    // The field, or "****" when mask is asked, the field is masked and it is
    // not empty.
    CString GetFieldDisplayText(int index, bool mask) const;
    // For types: label i, or the default label when it is empty.
    CString GetFieldName(int index) const;

    // The text that follows the common part: a type's or category's name, a
    // record's notes. Items without one ignore it.
    void SetMainText(const CString& text);
    bool HasMainText() const;

    WORD GetHiddenMask() const { return m_hiddenMask; }
    void SetHiddenMask(WORD mask) { m_hiddenMask = mask; }
    bool IsFieldMasked(int index) const { return index >= 0 && index < kItemFieldCount && (m_hiddenMask >> index) & 1; }
    WORD GetIcon() const { return m_icon; }
    void SetIcon(WORD icon) { m_icon = icon; }
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    bool IsDeleted() const { return m_deleted; }
    void SetDeleted(bool deleted) { m_deleted = deleted; }
    int32_t GetId() const { return m_id; }
    void SetId(int32_t id) { m_id = id; }
    WORD GetChecksum() const { return m_checksum; }
    void SetChecksum(WORD checksum) { m_checksum = checksum; }
    int16_t GetReservedWord() const { return m_reservedWord; }
    void SetReservedWord(int16_t value) { m_reservedWord = value; }
    int32_t GetReservedLong() const { return m_reservedLong; }
    void SetReservedLong(int32_t value) { m_reservedLong = value; }
    int32_t GetAttachmentChanged() const { return m_attachmentChanged; }
    void SetAttachmentChanged(int32_t value) { m_attachmentChanged = value; }
    // Seconds since 1970-01-01 00:00:00 UTC of the last change; 0 = unknown.
    int32_t GetModifiedTime() const { return m_modifiedTime; }
    void SetModifiedTime(int32_t seconds) { m_modifiedTime = seconds; }

    // The packed form as last built or read (owned copy).
    const std::vector<uint8_t>& GetPackedBlob() const { return m_blob; }
    void SetPackedBlob(const uint8_t* bytes, size_t length) { m_blob.assign(bytes, bytes + length); }

    // ---- Packed form: 22-byte header, class body, 7 random bytes; under a
    // key everything from byte 22 on is encrypted in whole 8-byte blocks.

    // Bytes of the packed form in the current layout (7 for items that have
    // no packed form of their own).
    virtual size_t PackedSize() const { return 7; }
    // Writes the header (checksum field: the item's checksum) and the body;
    // returns the position after the body.
    virtual uint8_t* WriteBody(uint8_t* buffer) const { return buffer; }
    // Reads header and body written with the given schema from the packed
    // form [buffer, end) (end is the end of the whole form, tail included),
    // never reading past end; returns the position after the last string.
    virtual const uint8_t* ReadBody(const uint8_t* buffer, const uint8_t* end, int schema) { return buffer; }

    // Replaces the packed form by a copy; checksum = its bytes 0-1.
    void SetBlob(const uint8_t* bytes, size_t length);
    // Copies the packed form out (buffer may be null to ask the size);
    // returns its length.
    size_t GetBlob(uint8_t* buffer) const;

    // Builds a new packed form and puts it in place of the old one,
    // encrypted under key (null: plain). The checksum field is left alone.
    // 0, or -1 when the form cannot be built (too large, out of memory); the
    // item then has no packed form.
    int Pack(const BlowfishContext* key);
    // Reads the item from its packed form of the given schema (3, 5, 6 or 7),
    // decrypting it in place first under key (null: plain) and checking its
    // checksum (DecryptPackedForm). -1 when the form is shorter than its
    // header; a form whose checksum does not match is still read, as far as
    // it goes, and the item marked (HasBadChecksum).
    int Unpack(const BlowfishContext* key, int schema);
    // Whether the packed form last unpacked failed its checksum: damaged
    // bytes (or a key that is not the file's). The old forms of versions 4
    // and before are not checked. Not saved and not copied.
    bool HasBadChecksum() const { return m_badChecksum; }
    // The forms of database versions 2 and older, and of version 4.
    virtual int UnpackV2(const BlowfishContext* key);
    virtual int UnpackV4(const BlowfishContext* key);

    // The item's record in the archive: packed form, id, uid, modification
    // time, flags, reserved values. Packs and unpacks under the key of the
    // thread's CItemKeyScope, or the master password's key without one.
    // Throws CArchiveException when the item cannot be packed or its packed
    // form is cut short or of an unknown schema.
    void Serialize(CArchive& ar) override;
    void SerializeWithKey(CArchive& ar, const BlowfishContext* key);

    // ---- Copies into a list.

    // When there is no target or the target is modified, a new item from the
    // list's factory is appended (-1 when that fails) and becomes the target;
    // then CopyInto (target, this, the two paths) and the target is marked
    // modified. 0 on success.
    virtual int CloneIntoList(CObjectList& list, CBaseItem* target, const CString& firstPath,
                              const CString& secondPath) const;
    // The same; records pass the two paths the other way round.
    virtual int CloneIntoListReversed(CObjectList& list, CBaseItem* target, const CString& firstPath,
                                      const CString& secondPath) const;

protected:
    // Fills what the forms before schema 6 did not carry (they had six fields).
    virtual void FillOldSchemaDefaults() {}
    // Name, six field strings and notes of the old forms.
    void ReadOldStrings(const uint8_t*& cursor, const uint8_t* end);
    // The key 00 00 00 00 00 00 hi lo made from an old form's 16-bit id.
    void SetKeyFromOldId(const uint8_t* idBytes);
    // Field strings (count of them) of a packed body; missing ones empty.
    void ReadFieldStrings(const uint8_t*& cursor, const uint8_t* end, int count);

    // The string SetMainText and HasMainText work on; none in the base.
    virtual CString* MainText() { return nullptr; }
    const CString* MainText() const { return const_cast<CBaseItem*>(this)->MainText(); }

    CString m_fields[kItemFieldCount];
    WORD m_hiddenMask = 0;
    uint8_t m_key[kUniqueKeySize] = {};
    WORD m_icon = kDefaultItemIcon;
    bool m_modified = false;
    bool m_deleted = false;
    bool m_badChecksum = false;
    int32_t m_id = 0;
    WORD m_checksum = 0;
    int16_t m_reservedWord = 0;
    int32_t m_reservedLong = 0;
    int32_t m_attachmentChanged = 0;
    std::vector<uint8_t> m_blob;
    int32_t m_modifiedTime = 0;
};

// Reads a zero-ended string from cursor, never past end; the cursor moves
// past the zero (or to end when there is none).
CString ReadPackedString(const uint8_t*& cursor, const uint8_t* end);
