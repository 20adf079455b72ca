#pragma once
// Figures from a sanitizer build say little about the program's speed: the benchmarks say so.
#include <cstdio>

inline void warnIfSanitized() {
#if defined(__SANITIZE_ADDRESS__)
    std::puts("note: built with AddressSanitizer; configure with -DTK_SANITIZE=OFF "
              "-DCMAKE_BUILD_TYPE=Release for meaningful figures");
#endif
}
