#include "core/tiled/maptitle.h"

#include <cstdio>

#include "core/level/hexdigit.h"
#include "core/level/leveltitle.h"

std::string escapeMapTitle(const Level& level) {
    std::string text;
    for (const char c : titleBytes(level)) {
        const unsigned byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            text += "\\\\";
        } else if (isPrintableTitleChar(static_cast<int>(byte))) {
            text += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            text += escape;
        }
    }
    return text;
}

bool unescapeMapTitle(const std::string& text, Level& level, std::string& error) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            error = "map property title: character " + std::to_string(bytes.size() + 1) +
                    " is not ASCII; write a byte as \\xHH";
            return false;
        }
        if (c != '\\') {
            bytes += static_cast<char>(c);
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\\') {
            bytes += '\\';
            ++i;
            continue;
        }
        if (i + 3 < text.size() && text[i + 1] == 'x' && hexDigitValue(text[i + 2]) >= 0 &&
            hexDigitValue(text[i + 3]) >= 0) {
            bytes +=
                static_cast<char>(hexDigitValue(text[i + 2]) * 16 + hexDigitValue(text[i + 3]));
            i += 3;
            continue;
        }
        error = "map property title: a backslash at character " + std::to_string(i + 1) +
                " starts neither \\\\ nor \\xHH";
        return false;
    }
    if (bytes.size() > static_cast<std::size_t>(kTitleLength)) {
        error = "map property title: " + std::to_string(bytes.size()) +
                " characters, a title has at most " + std::to_string(kTitleLength);
        return false;
    }
    // Centred as the level options window does: the odd blank goes to the right.
    const std::size_t left = (kTitleLength - bytes.size()) / 2;
    const std::string centred =
        std::string(left, ' ') + bytes + std::string(kTitleLength - left - bytes.size(), ' ');
    for (int i = 0; i < kTitleLength; ++i)
        level.titleChar(i) = static_cast<unsigned char>(centred[static_cast<std::size_t>(i)]);
    return true;
}
