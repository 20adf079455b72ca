#include "core/picture/arttext.h"

#include <cctype>

bool ArtTextReader::nextLine(std::string& line) {
    if (!std::getline(in_, line))
        return false;
    ++lineNumber_;
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
        line.pop_back();
    return true;
}

bool ArtTextReader::nextHeader(std::string& line) {
    while (nextLine(line))
        if (!line.empty() && line[0] != '#')
            return true;
    return false;
}

bool ArtTextReader::nextRow(std::string& line) {
    return nextLine(line);
}

std::string ArtTextReader::error(const std::string& what) const {
    return "line " + std::to_string(lineNumber_) + ": " + what;
}
