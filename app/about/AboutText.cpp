#include "app/about/AboutText.h"

CString FillVersionLine(const CString& templateText, const CString& version)
{
    const int at = templateText.Find("%s");
    if (at < 0) return templateText;
    return templateText.Left(at) + version + templateText.Mid(at + 2);
}
