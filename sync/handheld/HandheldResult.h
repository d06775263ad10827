#pragma once
// Results of the handheld database passes: 0 on success, else one of these.
// A pass that fails has changed none of the lists it was given.
enum HandheldResult {
    kHandheldOk = 0,
    // No database: empty path, the library missing, or the file cannot be opened.
    kHandheldNoDatabase = -1,
    // Not an SQLite database, damaged, or a table the program expects is missing.
    kHandheldNotReadable = -2,
    // A row with too few columns or a value of the wrong type.
    kHandheldBadRow = -3,
    // A value longer than the handheld's fields hold.
    kHandheldValueTooLong = -4,
    // Two rows with the same uid or the same record id.
    kHandheldDuplicate = -5,
    // DATABASEINFOTABLE has no row.
    kHandheldNoInfoRow = -6,
    // Writing failed; the file was left as it was.
    kHandheldWriteFailed = -7,
    // Not the handheld's schema: a view, trigger or virtual table, a
    // generated column, or a column declared so that its values would not
    // read back as the handheld's.
    kHandheldForeignSchema = -8,
};

// Returns the result of a pass step from the function unless it succeeded.
#define HH_CHECK(expr)                                                                                                 \
    do {                                                                                                               \
        int hhResult_ = (expr);                                                                                        \
        if (hhResult_ != kHandheldOk) return hhResult_;                                                                \
    } while (0)
