#include "exchange/clipboard/RecordClipboardExchange.h"

#include "core/items/Record.h"
#include "exchange/import/ExchangeImport.h"
#include "exchange/readers/ExchangeFormats.h"
#include "exchange/writers/ExportWriter.h"
#include "exchange/writers/ZkvWriters.h"

std::string CRecordClipboardExchange::WriteRecords(const CDatabaseObj& db, const std::vector<const CRecord*>& records)
{
    std::string out;
    WriteClipboardHeader(kFormatZkv3, out);
    CExportWriter writer(db, kFormatZkv3, nullptr);
    for (const CRecord* record : records) {
        if (!record) continue;
        writer.WriteTypeLineFor(out, record->GetTypeKey());
        writer.WriteRecordText(out, *record, false, true, nullptr);
    }
    return out;
}

void CRecordClipboardExchange::ImportText(CDatabaseObj& db, const std::string& text, CNotifyProviderList* notices,
                                          std::vector<CRecord*>& added)
{
    ImportResult result;
    // No source file, so no attachment files to copy.
    ImportExchangeText(db, kFormatZkv3, text, nullptr, CString(), CString(), notices, result);
    added = result.imported;
}
