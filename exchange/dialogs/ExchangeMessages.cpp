#include "exchange/dialogs/ExchangeMessages.h"

#include "core/prefs/ProductNames.h"
#include "exchange/ExchangeIds.h"

namespace {

const unsigned kProductNameId = 7101;

}  // namespace

CString ExchangeMessageText(unsigned messageId)
{
    CString text;
    text.LoadString(messageId);
    if (text.Find("%s") >= 0) {
        CString product, filled;
        if (!product.LoadString(kProductNameId)) product = kProductName;
        filled.Format((LPCSTR)text, (LPCSTR)product);
        return filled;
    }
    return text;
}
