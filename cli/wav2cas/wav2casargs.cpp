#include "cli/wav2cas/wav2casargs.h"

#include <vector>

#include "cli/common/options.h"

std::string parseWav2CasArgs(int argc, const char* const* argv, Wav2CasArgs& args) {
    args = Wav2CasArgs{};
    ParsedArgs parsed;
    const std::string problem = parseArgs(std::vector<std::string>(argv + 1, argv + argc),
                                          {{"-q", false},
                                           {"--quiet", false},
                                           {"--baud", true},
                                           {"--channel", true},
                                           {"--report", true},
                                           {"--labels", true},
                                           {"--picture", true}},
                                          parsed);
    if (!problem.empty())
        return problem;
    args.help = parsed.help;
    args.quiet = parsed.has("-q") || parsed.has("--quiet");
    if (parsed.has("--baud")) {
        const std::string baud = parsed.value("--baud");
        if (baud != "1200" && baud != "2400")
            return "--baud takes 1200 or 2400, not " + baud;
        args.decode.baud = baud == "1200" ? 1200 : 2400;
    }
    if (parsed.has("--channel")) {
        const std::string channel = parsed.value("--channel");
        if (channel != "left" && channel != "right")
            return "--channel takes left or right, not " + channel;
        args.channel = channel == "left" ? ChannelChoice::Left : ChannelChoice::Right;
    }
    args.reportFile = parsed.has("--report") ? parsed.value("--report") : "";
    args.labelsFile = parsed.has("--labels") ? parsed.value("--labels") : "";
    args.pictureFile = parsed.has("--picture") ? parsed.value("--picture") : "";
    if (args.help)
        return "";
    const std::vector<std::string>& paths = parsed.positional;
    if (paths.size() < 2)
        return "missing input or output file";
    args.input = paths[0];
    args.moreTakes.assign(paths.begin() + 1, paths.end() - 1);
    args.output = paths.back();
    return "";
}
