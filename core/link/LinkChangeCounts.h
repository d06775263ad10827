#pragma once
// Two change counts shared by the program and every browser plug-in, in the
// named page-file section "Corvantide-Zorvikan-wl-ChangeCounts" of 8 bytes:
// a 32-bit count of database changes at offset 0 and a 32-bit count of user
// changes at offset 4, little-endian, both 0 when the section is created.
// Only the program raises them, with interlocked increments; readers use
// interlocked reads.
//
// Why counts: the database-changed and user-changed events are automatic-
// reset events, so one signal wakes one listener, and the browser has one
// listener per window, possibly in several processes. The count is what
// every listener compares; the events only make the first of them look at
// once (see CPluginLink). Windows build only.

class CLinkChangeCounts {
public:
    enum Kind { kDatabase = 0, kUser = 1 };
    static const unsigned kSize = 8;

    // Creates the named section or opens the existing one and maps it; on
    // failure the object holds nothing, Increment does nothing and Get gives 0.
    explicit CLinkChangeCounts(const char* name);
    ~CLinkChangeCounts();
    CLinkChangeCounts(const CLinkChangeCounts&) = delete;
    CLinkChangeCounts& operator=(const CLinkChangeCounts&) = delete;

    bool IsValid() const { return m_view != nullptr; }
    // Raises the count (wrapping past 0xFFFFFFFF) and returns the new value.
    unsigned Increment(Kind kind);
    unsigned Get(Kind kind) const;

private:
    void* m_view = nullptr;
    void* m_mapping = nullptr;
};
