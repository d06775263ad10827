#include "app/MainViewBase.h"

IMPLEMENT_DYNAMIC(CMainViewBase, CView)
