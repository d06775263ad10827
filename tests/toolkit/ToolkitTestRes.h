#pragma once
// Resource ids of the toolkit's window tests.
#define IDR_TEST_MENU 700
#define IDR_TEST_IMAGES 701
#define IDB_TEST_BLUE 702
#define IDB_TEST_GREEN256 703

#define ID_TEST_PASTE 41001
#define ID_TEST_SELECT_ALL 41002
#define ID_TEST_PRINT 41003
#define ID_TEST_DEEP 41004
#define ID_TEST_ABOUT 41005
