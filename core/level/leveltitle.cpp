#include "core/level/leveltitle.h"

std::string titleBytes(const Level& level) {
    std::string title;
    for (int i = 0; i < kTitleLength; ++i)
        title += static_cast<char>(level.titleChar(i) & 0xFF);
    return title;
}

std::string storedTitle(const Level& level) {
    const std::string title = titleBytes(level);
    return title.substr(0, title.find('\0'));
}

std::string titleForDisplay(const Level& level) {
    std::string title;
    for (int i = 0; i < kTitleLength; ++i) {
        const int code = level.titleChar(i) & 0xFF;
        title += isPrintableTitleChar(code) ? static_cast<char>(code) : '?';
    }
    const std::size_t first = title.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return title.substr(first, title.find_last_not_of(' ') - first + 1);
}
