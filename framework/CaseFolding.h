#pragma once
// Whether the case folding of CString (ZvFoldLower, ZvFoldUpper) treats every
// byte on its own: true for a single-byte code page, so that a table of the
// 256 folded bytes folds any text alike; false for a double-byte code page,
// which folds a trail byte with its lead byte.
bool ZvFoldsByteByByte();
