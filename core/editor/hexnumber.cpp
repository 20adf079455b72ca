#include "core/editor/hexnumber.h"

#include <cstdio>

#include "core/level/hexdigit.h"

namespace {

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

std::uint32_t parseHex16(const char* text) {
    const char* p = text;
    while (isSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    // "0x" is a prefix only when a digit follows it; "0xg" reads as 0.
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hexDigitValue(p[2]) >= 0)
        p += 2;
    std::uint64_t value = 0;
    bool overflow = false;
    for (int digit; (digit = hexDigitValue(*p)) >= 0; ++p) {
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) {
            overflow = true;
            value = 0xFFFFFFFFu;
        }
    }
    std::uint32_t result = static_cast<std::uint32_t>(value);
    if (negative && !overflow)
        result = 0u - result;
    return result & 0xFFFFu;
}

std::string formatHex(std::uint32_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}
