#pragma once
// The hand-over record of a web login: the browser plug-in writes it into
// the shared block "Corvantide-Zorvikan-WlSharedMemory" and the program's
// plug-in link reads it. 1300 bytes, no header: the page title at offset 0
// (260 bytes) and the page address at offset 260 (1040 bytes), each an ANSI
// text ending in a zero byte, every byte after it zero.

struct WebLoginRecord {
    static const unsigned kTitleSize = 260;
    static const unsigned kAddressOffset = 260;
    static const unsigned kAddressSize = 1040;
    static const unsigned kSize = kTitleSize + kAddressSize;

    char title[kTitleSize];
    char address[kAddressSize];

    // Any process of the user may write the block, so nothing in it can be
    // trusted to be terminated: puts a zero byte at the end of both fields
    // (offsets 259 and 1299). Texts that ended earlier are unchanged.
    void Terminate();
    // The writer's side: all 1300 bytes zeroed, then the texts (null as
    // empty) placed, each cut to the 259 or 1039 bytes its field holds
    // before the terminating zero.
    void SetTexts(const char* pageTitle, const char* pageAddress);
};

static_assert(sizeof(WebLoginRecord) == WebLoginRecord::kSize, "the record is exactly the 1300-byte block");

// Copies the 1300 bytes at block into record and terminates both fields;
// a null block gives an empty record. Never reads past the 1300 bytes.
void ReadWebLoginRecord(const void* block, WebLoginRecord& record);
