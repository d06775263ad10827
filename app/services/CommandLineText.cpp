#include "app/services/CommandLineText.h"

namespace {

CString Trimmed(const CString& text)
{
    CString t = text;
    t.Trim(" \t\r\n");
    return t;
}

}  // namespace

CString GetImportPathFromCommandLine(const CString& commandLine)
{
    CString path = Trimmed(commandLine);
    if (path.IsEmpty() || path[0] == '/') return CString();
    if (path.GetLength() >= 2 && path[0] == '"' && path[path.GetLength() - 1] == '"') {
        path = Trimmed(path.Mid(1, path.GetLength() - 2));
    } else if (path[0] == '"') {
        // An opening quote without its partner: the rest is the path.
        path = Trimmed(path.Mid(1));
    }
    if (!path.IsEmpty() && path[0] == '/') return CString();
    return path;
}

bool IsShiftedPlacementCommandLine(const CString& commandLine) { return Trimmed(commandLine) == "/rl"; }
