#pragma once
// The named 1300-byte block of shared memory through which the browser
// plug-in hands a new web login to the program. Whichever process comes first
// creates it, the other opens it; the system frees it with the last handle.
// The block has no lock: the writer writes the whole record before it pulses
// the reader's event. Windows build only.

// Creates the named page-file-backed mapping of size bytes, or opens the
// existing one of that name, and maps all of it for reading and writing.
// False, with both handles null, when either step fails.
bool OpenNamedMapping(const char* name, unsigned size, void*& mapping, void*& view);

class CSharedMemory {
public:
    static const unsigned kSize = 1300;

    // Creates the named page-file-backed mapping of kSize bytes or opens the
    // existing one, and maps all of it for reading and writing. On failure
    // the object holds nothing and Read and Write do nothing.
    explicit CSharedMemory(const char* name);
    // Closes the mapping and unmaps the view.
    ~CSharedMemory();
    CSharedMemory(const CSharedMemory&) = delete;
    CSharedMemory& operator=(const CSharedMemory&) = delete;

    // Copies the kSize bytes of the block into buffer (nothing for a null
    // buffer or without a block).
    void Read(void* buffer) const;
    // Copies kSize bytes from buffer into the block (the same conditions).
    void Write(const void* buffer);
    // Closes the mapping handle; the view stays readable until destruction.
    void Close();

    bool IsValid() const { return m_view != nullptr; }

private:
    void* m_view = nullptr;
    void* m_mapping = nullptr;
};
