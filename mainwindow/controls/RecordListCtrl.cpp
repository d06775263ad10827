// The main view's record list.
#include "mainwindow/controls/RecordListCtrl.h"

IMPLEMENT_DYNAMIC(CRecordListCtrl, COwnerListCtrl)
