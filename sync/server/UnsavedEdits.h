#pragma once
// Whether the main view's database holds edits its file does not: the
// session saves the view's database before its merge only then, since every
// save writes new bytes (the packed forms end in random ones) and a session
// that changes nothing must leave the user's file as it was.
class CDatabaseObj;
struct BlowfishContext;

// Compares the view's types, categories and records, in order, with those of
// its file read under key: their plain packed bodies, ids and flags. True
// also when the file cannot be read.
bool HoldsUnsavedEdits(const CDatabaseObj& view, const BlowfishContext* key);
