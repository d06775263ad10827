// The stored side of the password hint: the user's section of the program's
// preferences.
#include "app/logon/PasswordHint.h"

#include <windows.h>

#include <memory>

#include "core/prefs/AppPrefMgr.h"
#include "core/prefs/AppPrefs.h"
#include "framework/Wnd.h"

namespace {

std::shared_ptr<CAppPrefs> Prefs() { return CAppPrefMgr::GetInstance()->GetPrefs(); }

// A stored buffer, freed when it goes.
struct StoredBuffer {
    explicit StoredBuffer(CAppPrefs::BufferPair pair) : buffer(pair.buffer), length(pair.buffer ? pair.length : 0) {}
    ~StoredBuffer() { delete[] buffer; }
    StoredBuffer(const StoredBuffer&) = delete;
    StoredBuffer& operator=(const StoredBuffer&) = delete;
    BYTE* buffer;
    int length;
};

void StoreBuffer(void (CAppPrefs::*setter)(CUserItem*, const BYTE*, int), CUserItem* user,
                 const std::vector<BYTE>& buffer)
{
    std::shared_ptr<CAppPrefs> prefs = Prefs();
    ((*prefs).*setter)(user, buffer.empty() ? nullptr : buffer.data(), (int)buffer.size());
}

}  // namespace

bool CPasswordHint::SetHint(int questionIndex, const CSecretString& answer, const CString& hint)
{
    std::shared_ptr<CAppPrefs> prefs = Prefs();
    CSecretString key;
    if (questionIndex >= 1 && !answer.IsEmpty()) {
        prefs->SetHintQuestionNumber(m_pUser, questionIndex);
        CString question = GetHintQuestionText(questionIndex);
        if (question.IsEmpty()) return false;
        StoreBuffer(&CAppPrefs::SetHintQuestionBuffer, m_pUser, EncryptText(answer, question));
        key = answer;
    } else {
        if (!answer.IsEmpty() || hint.IsEmpty()) return false;
        prefs->SetHintQuestionNumber(m_pUser, questionIndex);
        prefs->SetHintQuestionBuffer(m_pUser, nullptr, 0);
        key = kFallbackKey;
    }
    StoreBuffer(&CAppPrefs::SetHintBuffer, m_pUser, EncryptText(key, hint));
    return true;
}

void CPasswordHint::ClearHint()
{
    std::shared_ptr<CAppPrefs> prefs = Prefs();
    prefs->SetHintQuestionNumber(m_pUser, 0);
    prefs->SetHintBuffer(m_pUser, nullptr, 0);
    prefs->SetHintQuestionBuffer(m_pUser, nullptr, 0);
}

int CPasswordHint::GetHintState()
{
    std::shared_ptr<CAppPrefs> prefs = Prefs();
    if (prefs->GetHintQuestionNumber(m_pUser) > 0) return kHintBehindQuestion;
    StoredBuffer hint(prefs->GetHintBuffer(m_pUser));
    return hint.length > 0 ? kHintWithoutQuestion : kHintNone;
}

CString CPasswordHint::GetQuestionText() { return GetHintQuestionText(Prefs()->GetHintQuestionNumber(m_pUser)); }

bool CPasswordHint::CheckAnswer(const CSecretString& answer)
{
    if (answer.IsEmpty()) return false;
    std::shared_ptr<CAppPrefs> prefs = Prefs();
    int number = prefs->GetHintQuestionNumber(m_pUser);
    if (number < 1) return false;
    CString question = GetHintQuestionText(number);
    if (question.IsEmpty()) return false;
    StoredBuffer check(prefs->GetHintQuestionBuffer(m_pUser));
    if (check.length < 1) return false;
    return DecryptText(answer, check.buffer, check.length) == question;
}

CString CPasswordHint::GetHint(const CSecretString& key, int mode)
{
    if (key.IsEmpty()) return CString();
    if (mode == kHintKeyAnswer && !CheckAnswer(key)) return CString();
    StoredBuffer hint(Prefs()->GetHintBuffer(m_pUser));
    if (hint.length <= 0) return CString();
    return DecryptText(key, hint.buffer, hint.length);
}

void FillHintQuestionCombo(CWnd& combo)
{
    for (int i = 0; i <= kHintQuestionCount; ++i) {
        CString text = GetHintQuestionText(i);
        combo.SendMessage(CB_INSERTSTRING, (WPARAM)i, (LPARAM)text.GetString());
    }
    combo.SendMessage(CB_SETCURSEL, 0);
}
