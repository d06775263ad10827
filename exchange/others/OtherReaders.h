#pragma once
// Readers of six other password managers' text exports. Each call reads one
// record at the cursor, appends its values to the list (entry 0 the type
// name, entries 1 to 10 the fields, the non-empty rest the notes) and leaves
// the cursor after the record. A call that finds no record appends nothing.
//
// Every reader keeps each record and column where the file put it: a blank
// line ends a record of the blank-line formats whatever line ends the file
// uses, an empty column stays a column, and a value keeps its line breaks
// but not the line end that parts it from the next record.
#include "exchange/readers/ExchangeValues.h"
#include "framework/CArray.h"
#include "framework/CString.h"
#include "framework/ZvTypes.h"

// "CryptInfo Export": label-value lines, records parted by blank lines; a
// "Note:" line lands at entry 7.
void ParseCryptInfoRecord(CTextCursor& c, CStringArray& values);
// "Mobile AM Export:": a title line, then label-value lines, records parted
// by blank lines.
void ParseMobileSafeRecord(CTextCursor& c, CStringArray& values);
// eWallet, with a colon after each label: records begin at "Card Name:" or
// "Category:" lines; "Card Type:" gives the type name; notes at entry 11.
void ParseEWalletRecord(CTextCursor& c, CStringArray& values);
// TopSecret: one comma-separated line; the first value is field 1, the
// second field 7, the third the type name; later ones are dropped.
void ParseTopSecretLine(CTextCursor& c, CStringArray& values);
// "#Yaps Data": records begin with "#"; comma-separated values, the first the
// type name, an empty entry 6 inserted before the seventh.
void ParseYapsRecord(CTextCursor& c, CStringArray& values);
// 1Password, tab-separated: nine fields, then the rest of the line as notes;
// no type, the category "1Password" and icon 24.
void ParseOnePasswordLine(CTextCursor& c, CStringArray& values, CString& category, WORD& icon);
