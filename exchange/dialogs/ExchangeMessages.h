#pragma once
// The texts of the import and export messages (ExchangeIds.h): from the
// string table when it has them, else the layer's own, the product name
// filled in where the text asks for it.
#include "framework/CString.h"

CString ExchangeMessageText(unsigned messageId);
