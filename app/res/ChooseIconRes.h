#pragma once
// Resource ids of the icon chooser.
#define IDD_CHOOSE_ICON 137
// The grid's cells: 3000 + 8 x row + column.
#define IDC_ICON_CELL_FIRST 3000
#define IDC_ICON_SCROLL 1061
#define IDC_ADD_ICON 1235
#define IDC_DELETE_ICON 1279
