#include "core/level/hexdigit.h"

#include <cstdio>

std::string hexText(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}
