#include "cli/cas2wav/cas2wavargs.h"

#include <vector>

#include "cli/common/options.h"

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

} // namespace

std::string parseCas2WavArgs(int argc, const char* const* argv, Cas2WavArgs& args) {
    args = Cas2WavArgs{};
    ParsedArgs parsed;
    const std::string problem = parseArgs(std::vector<std::string>(argv + 1, argv + argc),
                                          {{"-2", false}, {"-i", false}}, parsed);
    if (!problem.empty())
        return problem;
    args.help = parsed.help;
    args.signal.doubleSpeed = parsed.has("-2");
    args.signal.inverted = parsed.has("-i");
    const std::vector<std::string>& paths = parsed.positional;
    if (args.help)
        return "";
    if (paths.size() == 2) {
        args.input = paths[0];
        args.output = paths[1];
        return "";
    }
    if (paths.size() > 2 && splitUnquotedPaths(paths, args))
        return "";
    return paths.size() < 2 ? "missing input or output file" : "too many arguments";
}
