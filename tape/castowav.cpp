#include "tape/castowav.h"

int CasToWav() { return 0; }
