#include "util/editorglobals.h"

HINSTANCE hInst;
HWND hwndMain;
HWND status;
int blockSize;
int doubleSpeed;
char filename[MAX_PATH];
Level l;
