#pragma once
// Hexadecimal digits, as the editor's fields, a map's title escapes and the art texts write them,
// and a value as the tools' texts show it, "0x01BE".
#include <string>

// The value of the hexadecimal digit `c` (either case), or -1 when it is none.
constexpr int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The same for the upper-case digits alone, the only ones the art texts write.
constexpr int upperHexDigitValue(char c) {
    return c >= 'a' && c <= 'f' ? -1 : hexDigitValue(c);
}

// `value` as "0x" and at least `digits` upper-case hexadecimal digits: hexText(0x1BE, 4) is
// "0x01BE", hexText(0x7, 2) "0x07". The form of `tomkrin info`'s and the level checks' numbers.
std::string hexText(unsigned value, int digits = 2);
