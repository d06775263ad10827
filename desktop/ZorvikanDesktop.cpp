// The desktop program: the application object, given the main window's view
// class for its document template.
#include "app/services/ZorvikanDesktopApp.h"
#include "mainwindow/view/ZorvikanDesktopView.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));
