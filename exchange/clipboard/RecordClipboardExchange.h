#pragma once
// CRecordClipboardExchange: the clipboard's exchange text (Copy, Cut and
// Paste of the main view) over the exchange layer's writer and import.
#include "app/services/RecordClipboardText.h"

class CRecordClipboardExchange : public IRecordClipboardText {
public:
    std::string WriteRecords(const CDatabaseObj& db, const std::vector<const CRecord*>& records) override;
    void ImportText(CDatabaseObj& db, const std::string& text, CNotifyProviderList* notices,
                    std::vector<CRecord*>& added) override;
};
