#include "app/pluginlink/BrowserPlugin.h"

CString BrowserPluginRegisterParameters(const CString& pluginPath, bool silent, bool install)
{
    CString parameters;
    if (!install) parameters += "/u ";
    if (silent) parameters += "/s ";
    parameters += "\"";
    parameters += pluginPath;
    parameters += "\"";
    return parameters;
}
