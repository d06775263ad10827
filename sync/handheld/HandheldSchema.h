#pragma once
// The received handheld file is checked before any of its rows is stepped:
// it must hold the handheld's tables as plain tables whose columns are
// declared as the handheld declares them, and nothing that runs queries of
// its own (views, triggers, virtual tables, generated columns). A view
// named like a handheld table could otherwise run a query without end, and
// a column of another affinity turns the values written back into others.
// The connection is also made defensive and every statement's work bounded
// by a deadline.
#include <cstdint>

class CSQLiteDBWrapper;

// A steady clock in milliseconds, for the deadlines.
int64_t HandheldClockMs();

// Makes the connection defensive (no writable schema, untrusted schema
// functions refused) and interrupts any statement that still runs when the
// clock passes *deadlineMs (read at every check, so it may move later).
void GuardHandheldConnection(CSQLiteDBWrapper& db, const int64_t* deadlineMs);

// kHandheldOk, kHandheldNotReadable (damaged, or a table missing) or
// kHandheldForeignSchema.
int CheckHandheldSchema(CSQLiteDBWrapper& db);

// The column affinity SQLite gives a declared type: 'I'nteger, 'T'ext,
// 'B'lob, 'R'eal or 'N'umeric.
char DeclaredAffinity(const char* declaredType);
