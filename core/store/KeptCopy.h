#pragma once
// Copies of a database file kept beside it before it is written over: of a
// file that showed damage and of an older version's file before its
// upgrade, so that nothing the file held is lost to a save. A copy is never
// overwritten; each gets a name of its own.
#include <string>

#include "framework/CString.h"

// Writes bytes (the file's contents as read) to "<filePath><stem><ext>", or,
// when that name is taken, to "<filePath><stem>-2<ext>", "-3" ... A copy
// already there with the same bytes counts as kept, so loading one file
// again makes no second copy. 0 with keptPath set; else the system's error
// code (-1 without one) and no copy.
int KeepCopyBeside(const CString& filePath, const CString& stem, const CString& ext, const std::string& bytes,
                   CString& keptPath);

// The stem of a damaged file's copy: ".damaged-YYYY-MM-DD" of today (the
// local clock of CDateValue).
CString DamagedCopyStem();
// The stem of the copy kept before the upgrade of a file of that format
// version (".v4"), and its extension.
CString UpgradeCopyStem(int formatVersion);
constexpr char kUpgradeCopyExt[] = ".bak";
