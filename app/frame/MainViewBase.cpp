#include "app/frame/MainViewBase.h"

IMPLEMENT_DYNAMIC(CMainViewBase, CView)
