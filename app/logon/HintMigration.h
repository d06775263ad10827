#pragma once
// The one-off move of the older plain-text password hints into the hint
// form of the password-hint object, run when older preferences migrated.
class CUserList;

// For every user in list order: a plain hint is stored as a hint without a
// question and then removed from the plain preference (only once it was
// stored); without a plain hint the user's stored hint is cleared.
void MigrateHints(CUserList& users);
