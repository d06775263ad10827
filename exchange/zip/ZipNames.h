#pragma once
// The name under which a zip entry is described and extracted: never a path
// that leaves the folder it is extracted to.
#include <string>

// Passes a drive prefix ("C:"), leading "\" or "/" characters and everything
// up to and including the last parent-folder step between separators; then
// also any parent-folder step at the start or end of what is left, again
// until nothing of the kind remains, so that no ".." step, absolute, drive or
// UNC path survives.
std::string ZipCleanEntryName(const std::string& stored);
