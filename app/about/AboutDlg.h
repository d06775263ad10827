#pragma once
// CAboutDlg: the program's icon, name and version, and the promotional text
// the installation may leave in the registry.
#include "framework/CString.h"
#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
public:
    // registryKey: below HKEY_CURRENT_USER, where "Promo Text" may be.
    explicit CAboutDlg(const CString& registryKey, CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    // The "Promo Text" value; empty when there is none.
    CString ReadPromoText() const;

private:
    CString m_strRegistryKey;
};
