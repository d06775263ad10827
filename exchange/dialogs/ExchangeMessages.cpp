#include "exchange/dialogs/ExchangeMessages.h"

#include "core/prefs/ProductNames.h"
#include "exchange/ExchangeIds.h"

namespace {

const char* FallbackText(unsigned messageId)
{
    switch (messageId) {
    case IDS_IMPORT_LATER_ZKV: return kTextImportLaterZkv;
    case IDS_IMPORT_READ_ERROR: return kTextImportReadError;
    case IDS_IMPORT_NOT_TEXT: return kTextImportNotText;
    case IDS_IMPORT_WRONG_PWD: return kTextImportWrongPwd;
    case IDS_IMPORT_FORMAT_LATER: return kTextImportFormatLater;
    case IDS_EXPORT_DONE: return kTextExportDone;
    case IDS_EXPORT_CREATE_ERROR: return kTextExportCreateError;
    case IDS_EXPORT_WRITE_ERROR: return kTextExportWriteError;
    default: return "";
    }
}

const unsigned kProductNameId = 7101;

}  // namespace

CString ExchangeMessageText(unsigned messageId)
{
    CString text;
    if (!text.LoadString(messageId)) text = FallbackText(messageId);
    if (text.Find("%s") >= 0) {
        CString product, filled;
        if (!product.LoadString(kProductNameId)) product = kProductName;
        filled.Format((LPCSTR)text, (LPCSTR)product);
        return filled;
    }
    return text;
}
