#pragma once
// The plug-in's own identifiers, shared with its type library
// (com/ZorvikanToolBar.idl) and its registry scripts (res/*.rgs).
#include <windows.h>

extern const CLSID CLSID_ZorvikBand;
extern const IID IID_IZorvikBand;
extern const GUID LIBID_ZorvikanToolBarLib;
extern const CLSID CLSID_WebBrowserEventsListener;
extern const IID IID_IWebBrowserEventsListener;
// The server's AppID, the scripts' replacement "APPID".
extern const char kToolBarAppId[];
// The class id as text: the name of Internet Explorer's tool-bar value.
extern const char kZorvikBandClsidText[];
