#include "cli/cas2wav/cas2wavargs.h"

#include <vector>

namespace {

std::string joinWords(const std::vector<std::string>& words, std::size_t first, std::size_t end) {
    std::string joined;
    for (std::size_t i = first; i < end; ++i)
        joined += (i == first ? "" : " ") + words[i];
    return joined;
}

bool splitUnquotedPaths(const std::vector<std::string>& words, Cas2WavArgs& args) {
    if (words.size() % 2 != 0)
        return false;
    const std::size_t half = words.size() / 2;
    const std::string input = joinWords(words, 0, half);
    const std::string output = joinWords(words, half, words.size());
    if (output != input + ".wav")
        return false;
    args.input = input;
    args.output = output;
    return true;
}

// Applies `word` if it is an option; false if it is a path.
bool applyOption(const std::string& word, SignalOptions& signal) {
    if (word == "-2")
        signal.doubleSpeed = true;
    else if (word == "-i")
        signal.inverted = true;
    else
        return false;
    return true;
}

bool looksLikeOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-';
}

} // namespace

std::string parseCas2WavArgs(int argc, const char* const* argv, Cas2WavArgs& args) {
    args = Cas2WavArgs{};
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (applyOption(word, args.signal))
            continue;
        if (looksLikeOption(word))
            return "unknown option " + word;
        paths.push_back(word);
    }
    if (paths.size() == 2) {
        args.input = paths[0];
        args.output = paths[1];
        return "";
    }
    if (paths.size() > 2 && splitUnquotedPaths(paths, args))
        return "";
    return paths.size() < 2 ? "missing input or output file" : "too many arguments";
}
