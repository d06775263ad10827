#include "core/link/LoginFormNames.h"

const char* const USER_NAME_FIELD_NAMES[50] = {
    "txtLogin",
    "user",
    "username",
    "userid",
    "email",
    "emailid",
    "emailaddress",
    "email_address",
    "email_login",
    "emaillogin",
    "login_email",
    "loginemail",
    "login",
    "login_id",
    "loginid",
    "loginname",
    "login_name",
    "name",
    "_name",
    "txtemail",
    "navbar_username",
    "vb_login_username",
    "MyAccountLogin1:txtUser",
    "wireless_num",
    "vname",
    "ssn",
    "customer_id",
    "customerid",
    "customer",
    "id",
    "account",
    "accountname",
    "accountid",
    "account_name",
    "account_id",
    "accountnumber",
    "account_number",
    "txtMSISDN",
    "uid",
    "usr_name",
    "SignonAccountNumber",
    "entered_account_number",
    "Userid",
    "user_id",
    "UserNameTextbox",
    "theAccountName",
    "username_l",
    "_ctl0:EmailAddress",
    "_ctl0_EmailAddress",
    "tmp_account_number",
};

const char* const PASSWORD_FIELD_NAMES[28] = {
    "passwd",
    "password",
    "pass",
    "txtPassword",
    "_password",
    "pword",
    "pwd",
    "pwdpassword",
    "navbar_password",
    "vb_login_password",
    "MyAccountLogin1:txtPwd",
    "passcode",
    "password1",
    "login_password",
    "login_pword",
    "login_pass",
    "usr_password",
    "SignonPassword",
    "rr_password",
    "Pword",
    "user_password",
    "UserPasswordTextbox",
    "theAccountPW",
    "password_l",
    "_ctl0:Password",
    "_ctl0_Password",
    "tmp_pin",
    "UserPassword",
};

const char* const LOGIN_FORM_NAMES[4] = {"loginform", "f1", "login_form", "gaia_loginform"};

namespace {

char Folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Every entry is plain ASCII, so folding ASCII letters alone compares as the
// multi-byte-aware comparison would: a byte of a multi-byte character never
// equals an entry's byte.
bool EqualNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (Folded(*a) != Folded(*b)) return false;
    return *a == *b;
}

}  // namespace

int FindLoginName(const char* name, const char* const* table, int count)
{
    if (!name) return -1;
    for (int i = 0; i < count; ++i)
        if (EqualNoCase(name, table[i])) return i;
    return -1;
}

bool IsUserNameFieldName(const char* name) { return FindLoginName(name, USER_NAME_FIELD_NAMES, 50) >= 0; }
bool IsPasswordFieldName(const char* name) { return FindLoginName(name, PASSWORD_FIELD_NAMES, 28) >= 0; }
bool IsLoginFormName(const char* name) { return FindLoginName(name, LOGIN_FORM_NAMES, 4) >= 0; }
