#include "canvas/bmplist.h"

HIMAGELIST bmplist;

void InitBmpList() {}
