#pragma once
// Hexadecimal numbers as the dialogs' text boxes show and read them.
#include <cstdint>
#include <string>

// Reads text as strtoul does in base 16 with a 32-bit unsigned long (white space, sign, optional
// 0x, digits up to the first non-digit, 0xFFFFFFFF on overflow), keeping the low 16 bits.
std::uint32_t parseHex16(const char* text);

// Whether parseHex16 reads all of `text`: at least one digit, and after the digits nothing but
// white space. The browser edition's fields refuse other text rather than take "ZZ" for 0 or "1G"
// for 1.
bool isHexNumber(const char* text);

// Why such a field refuses its text.
extern const char* const kNotHexNumber;

// The value in upper-case hexadecimal without prefix or leading zeros ("%X").
std::string formatHex(std::uint32_t value);
