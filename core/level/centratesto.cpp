#include "core/level/centratesto.h"

#include <cstring>

void centratesto(const char* source, char* destination, int width) {
    const int length = static_cast<int>(std::strlen(source));
    int start = (width - length) / 2;
    if (start < 0)
        start = 0;
    for (int i = 0; i < width; ++i) {
        const bool inside = i >= start && i < start + length;
        destination[i] = inside ? source[i - start] : ' ';
    }
    destination[width] = '\0';
}
