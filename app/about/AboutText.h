#pragma once
// The About box's version line: its template text with "%s" replaced by the
// product version. The template is text, never a format: a stray "%" in it
// or in the version stays as it is.
#include "framework/CString.h"

CString FillVersionLine(const CString& templateText, const CString& version);
