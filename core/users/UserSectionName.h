#pragma once
// Reading a user's preference section name back into its parts. A user
// section is named "User-" + platform word + "-" + safe key name + "-" + safe
// display name (CUserItem::GetSectionName); the words are taken at their
// fixed places, so a user who is called "iPhone" or whose names contain
// "User-" is read back as written.
#include <cstdint>

#include "framework/CString.h"

// Platform type of a section name: 5 for "User-iPhone-...", 3 for
// "User-Standalone-...", -1 for every other section.
int32_t GetPlatformTypeOfSection(const CString& sectionName);

// Splits a user section name. displayName is the section's "DisplayName"
// value; when the name ends in "-" and its safe form, that part is taken off
// and the rest is the key name; otherwise the whole rest is the key name.
// False (outputs unchanged) for a section that is not a user section.
bool ParseUserSectionName(const CString& sectionName, const CString& displayName, int32_t& platformType,
                          CString& keyName);
