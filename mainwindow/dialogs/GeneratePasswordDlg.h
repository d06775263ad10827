#pragma once
// CGeneratePasswordDlg: offers ten random passwords at a time from the
// character sets and length the user picks, rates the settings on the
// strength meter and hands the chosen password back. The sets are stored
// per user; the length always starts at 8. The rules between the boxes
// live in CGeneratorChoices.
#include "app/logon/PasswordStrengthMeter.h"
#include "core/crypto/SecretString.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "mainwindow/editors/GeneratorChoices.h"

class CGeneratePasswordDlg : public CDialog {
public:
    explicit CGeneratePasswordDlg(CWnd* pParent = nullptr);

    // Set by the caller before the dialog runs; the result after IDOK.
    void SetPassword(const CSecretString& password) { m_password = password; }
    const CSecretString& GetPassword() const { return m_password; }
    const CGeneratorChoices& GetChoices() const { return m_choices; }
    // The meter as it is drawn: its bar and the name of the rating.
    const CPasswordStrengthMeter& GetMeter() const { return m_meter; }

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    void OnGenerate();
    void OnStrengthSelChange();
    void OnLatin1Click();
    void OnSymbolsClick();
    void OnLengthSpin(NMHDR* pNMHDR, LRESULT* pResult);
    void OnPaint();
    void OnCharSetClick();

    // Rates the settings and repaints the meter.
    void UpdateMeter();
    // The Pronounceable box's enabled state follows the choices.
    void ShowPronounceableState();
    void StoreFlags(int flags);

    CListBox m_candidates;
    CSpinButtonCtrl m_lengthSpin;
    CComboBox m_strength;
    CGeneratorChoices m_choices;
    CPasswordStrengthMeter m_meter;
    CFont m_labelFont;
    CSecretString m_password;
    bool m_generated = false;

    DECLARE_MESSAGE_MAP()
};
