#include "core/editor/hexnumber.h"

#include <cstdio>

#include "core/level/hexdigit.h"

namespace {

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// strtoul's reading in base 16 of a 32-bit unsigned long; `end` is where it stopped, or `text`
// itself when it found no digit.
std::uint32_t readHex(const char* text, const char*& end) {
    const char* p = text;
    while (isSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    // "0x" is a prefix only when a digit follows it; "0xg" reads as 0.
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hexDigitValue(p[2]) >= 0)
        p += 2;
    const char* const digits = p;
    std::uint64_t value = 0;
    bool overflow = false;
    for (int digit; (digit = hexDigitValue(*p)) >= 0; ++p) {
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) {
            overflow = true;
            value = 0xFFFFFFFFu;
        }
    }
    end = p == digits ? text : p;
    std::uint32_t result = static_cast<std::uint32_t>(value);
    if (negative && !overflow)
        result = 0u - result;
    return result;
}

} // namespace

std::uint32_t parseHex16(const char* text) {
    const char* end = nullptr;
    return readHex(text, end) & 0xFFFFu;
}

bool isHexNumber(const char* text) {
    const char* end = nullptr;
    readHex(text, end);
    if (end == text)
        return false;
    while (isSpace(*end))
        ++end;
    return *end == '\0';
}

const char* const kNotHexNumber = "not a hexadecimal number: use the digits 0-9 and A-F";

std::string formatHex(std::uint32_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}
