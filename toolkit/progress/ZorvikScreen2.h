#pragma once
// CZorvikScreen2: the start-up dialog, empty, that closes itself on its
// first timer tick (result 0). Running it gives the main view one short
// modal message loop during its first update.
#include "framework/Dialog.h"

class CZorvikScreen2 : public CDialog {
    DECLARE_DYNAMIC(CZorvikScreen2)
public:
    CZorvikScreen2();
    BOOL OnInitDialog() override;

protected:
    void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()
};
