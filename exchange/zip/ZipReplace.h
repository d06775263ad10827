#pragma once
// Rewrites an archive with one entry replaced by a file, or added when no
// entry has its name, through the zip reader and writer; a result code of
// either module. The archive file is left as it was unless the whole new
// archive could be made.
#include <cstdint>

// sourceFile null or empty: the entry is only removed.
uint32_t ZipReplaceEntry(const char* archivePath, const char* entryName, const char* sourceFile);
