#pragma once
// Every message id of the import and export (string-table ids of the
// program's resources, app/res/ProgramStrings.rc), so that the portable code
// can name a message and the dialogs show it; and the texts of the few
// messages the import and restore add to them.

// Reading a file to import.
const unsigned IDS_IMPORT_LATER_ZKV = 180;     // "The file specified is a future Zorvikan Zkv ..."
const unsigned IDS_IMPORT_READ_ERROR = 605;    // "There was an error reading the import file."
const unsigned IDS_IMPORT_NOT_TEXT = 606;      // "%s doesn't recognize that type of file."
const unsigned IDS_IMPORT_WRONG_PWD = 608;     // "That is not the correct password for this import file."
const unsigned IDS_IMPORT_FORMAT_LATER = 609;  // a format whose reader this build does not have
// Writing an export.
const unsigned IDS_EXPORT_DONE = 600;          // "The file export process was completed successfully."
const unsigned IDS_EXPORT_CREATE_ERROR = 602;  // "There was an error creating the export file."
const unsigned IDS_EXPORT_WRITE_ERROR = 603;   // "There was an error writing to the export file. ..."

// A restore whose database could not be saved afterwards; the old records
// are back.
const char kTextRestoreSaveFailed[] = "The restored records could not be saved. The database was left as it was.";
// The import's report of lines it left out (appended to the count of
// imported items); the %s is a list of line numbers.
const char kTextImportedItems[] = "%d item(s) were imported.";
const char kTextImportSkippedLines[] = "%d line(s) without values were skipped: line(s) %s.";
const char kTextImportMalformedLines[] = "%d line(s) were damaged or cut short and were not imported: line(s) %s.";
const char kTextImportTitleRow[] = "Line %d held the column titles and was not imported.";
