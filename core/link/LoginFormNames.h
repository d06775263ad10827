#pragma once
// The names by which a login page's fields and form are recognised, shared by
// the browser plug-in's form filling and the program's auto-fill: the
// user-name inputs, the password inputs and the login forms, each in the
// order they are tried. A name matches an entry when the two are equal as
// whole texts without regard to letter case.

extern const char* const USER_NAME_FIELD_NAMES[50];
extern const char* const PASSWORD_FIELD_NAMES[28];
extern const char* const LOGIN_FORM_NAMES[4];

// The index of the first entry of table (count entries) that name matches,
// or -1; a null name matches nothing.
int FindLoginName(const char* name, const char* const* table, int count);

bool IsUserNameFieldName(const char* name);
bool IsPasswordFieldName(const char* name);
bool IsLoginFormName(const char* name);
