#include "mainwindow/data/DroppedFiles.h"

#include "core/os/PathUtils.h"
#include "core/prefs/ProductNames.h"

namespace {
const UINT kRefusalId = 158;
const UINT kProductNameId = 7101;
}  // namespace

bool IsImportableDroppedFile(const CString& path)
{
    const CString extension = GetExtensionOfPath(path);
    for (const char* known : {"csv", "txt", "zkv"})
        if (extension.CompareNoCase(known) == 0) return true;
    return false;
}

CString DroppedFileRefusalText()
{
    CString format, product, text;
    if (!format.LoadString(kRefusalId)) format = "%s doesn't recognize that file type.";
    if (!product.LoadString(kProductNameId)) product = kProductName;
    text.Format((LPCSTR)format, (LPCSTR)product);
    return text;
}
