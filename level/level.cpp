#include "level/level.h"

Level l;
