#include "cli/wav2cas/wav2casargs.h"

#include <vector>

namespace {

// Applies the option `word`, taking its value from `next` when it needs one (and then advancing
// `i`). Returns what is wrong, or an empty string.
std::string applyOption(const std::string& word, int argc, const char* const* argv, int& i,
                        Wav2CasArgs& args) {
    if (word == "-q" || word == "--quiet") {
        args.quiet = true;
        return "";
    }
    if (word == "-h" || word == "--help") {
        args.help = true;
        return "";
    }
    if (word != "--baud" && word != "--channel")
        return "unknown option " + word;
    if (i + 1 >= argc)
        return word + " needs a value";
    const std::string value = argv[++i];
    if (word == "--baud") {
        if (value != "1200" && value != "2400")
            return "--baud takes 1200 or 2400, not " + value;
        args.decode.baud = value == "1200" ? 1200 : 2400;
        return "";
    }
    if (value != "left" && value != "right")
        return "--channel takes left or right, not " + value;
    args.channel = value == "left" ? ChannelChoice::Left : ChannelChoice::Right;
    return "";
}

} // namespace

std::string parseWav2CasArgs(int argc, const char* const* argv, Wav2CasArgs& args) {
    args = Wav2CasArgs{};
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.size() > 1 && word[0] == '-') {
            const std::string problem = applyOption(word, argc, argv, i, args);
            if (!problem.empty())
                return problem;
        } else {
            paths.push_back(word);
        }
    }
    if (args.help)
        return "";
    if (paths.size() != 2)
        return paths.size() < 2 ? "missing input or output file" : "too many arguments";
    args.input = paths[0];
    args.output = paths[1];
    return "";
}
