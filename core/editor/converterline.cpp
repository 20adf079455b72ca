#include "core/editor/converterline.h"

namespace {

std::string quoted(const std::string& path) {
    return '"' + path + '"';
}

} // namespace

bool canConvertTapePath(const std::string& tapePath, std::size_t capacity) {
    if (tapePath.empty() || tapePath.size() + kAudioSuffixLength >= capacity)
        return false;
    return tapePath.find('"') == std::string::npos && tapePath.back() != '\\';
}

std::string audioPathFor(const std::string& tapePath) {
    return tapePath + kAudioSuffix;
}

std::string converterParameters(const std::string& tapePath, bool doubleSpeed) {
    std::string parameters = quoted(tapePath) + ' ' + quoted(audioPathFor(tapePath));
    if (doubleSpeed)
        parameters += " -2";
    return parameters;
}
