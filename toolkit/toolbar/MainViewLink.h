#pragma once
// How the tool bar and its search box reach the main window's view: they
// ask the application's main window, at the time, for the window it keeps
// as its view (WM_TOOLKIT_GET_MAIN_VIEW). Until the view exists there is
// none, and whatever would go to it is dropped.
#include "framework/Wnd.h"

CWnd* FindMainView();
